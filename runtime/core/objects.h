// The two object pointers through which program code hands a record to the
// runtime. They point at records of several kinds (form and control records,
// file records, registry records, bitmaps), so they are untyped here and each
// subsystem reads them as its own record type.
#pragma once

namespace tessaric {

// The record that the next operation or property write acts on.
extern void* CurrentObject;
// The record whose value the next property read fetches.
extern void* QueryObject;

}  // namespace tessaric
