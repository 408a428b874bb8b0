#include "gdi_spy.h"

#include <map>

#include "../import_entry.h"

namespace drawtest {

namespace {

GdiSpy* Active = nullptr;

using CreatePenFunction = HPEN(WINAPI*)(int, int, COLORREF);
using CreateSolidBrushFunction = HBRUSH(WINAPI*)(COLORREF);
using DeleteObjectFunction = BOOL(WINAPI*)(HGDIOBJ);
using SelectObjectFunction = HGDIOBJ(WINAPI*)(HDC, HGDIOBJ);
using BitBltFunction = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, DWORD);

CreatePenFunction RealCreatePen = nullptr;
CreateSolidBrushFunction RealCreateSolidBrush = nullptr;
DeleteObjectFunction RealDeleteObject = nullptr;
SelectObjectFunction RealSelectObject = nullptr;
BitBltFunction RealBitBlt = nullptr;

// Where each watched object was selected last.
std::map<HGDIOBJ, HDC> SelectedInto;

HGDIOBJ Created(HGDIOBJ object) {
  if (object != nullptr) {
    ++Active->created;
    Active->live.insert(object);
  }
  return object;
}

HPEN WINAPI SpyCreatePen(int style, int width, COLORREF colour) {
  ++Active->calls;
  return static_cast<HPEN>(Created(RealCreatePen(style, width, colour)));
}

HBRUSH WINAPI SpyCreateSolidBrush(COLORREF colour) {
  ++Active->calls;
  return static_cast<HBRUSH>(Created(RealCreateSolidBrush(colour)));
}

HGDIOBJ WINAPI SpySelectObject(HDC dc, HGDIOBJ object) {
  ++Active->calls;
  if (Active->live.count(object) != 0) SelectedInto[object] = dc;
  return RealSelectObject(dc, object);
}

BOOL WINAPI SpyDeleteObject(HGDIOBJ object) {
  ++Active->calls;
  if (Active->live.erase(object) != 0) {
    ++Active->deleted;
    auto selected = SelectedInto.find(object);
    if (selected != SelectedInto.end()) {
      DWORD type = GetObjectType(object);
      if (GetCurrentObject(selected->second, type) == object) ++Active->deletedWhileSelected;
      SelectedInto.erase(selected);
    }
  }
  return RealDeleteObject(object);
}

BOOL WINAPI SpyBitBlt(HDC dc, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                     DWORD operation) {
  ++Active->calls;
  return RealBitBlt(dc, x, y, width, height, source, sourceX, sourceY, operation);
}

struct Hook {
  const char* name;
  void* spy;
  void** real;
};

const Hook kHooks[] = {
    {"CreatePen", reinterpret_cast<void*>(SpyCreatePen), reinterpret_cast<void**>(&RealCreatePen)},
    {"CreateSolidBrush", reinterpret_cast<void*>(SpyCreateSolidBrush), reinterpret_cast<void**>(&RealCreateSolidBrush)},
    {"DeleteObject", reinterpret_cast<void*>(SpyDeleteObject), reinterpret_cast<void**>(&RealDeleteObject)},
    {"SelectObject", reinterpret_cast<void*>(SpySelectObject), reinterpret_cast<void**>(&RealSelectObject)},
    {"BitBlt", reinterpret_cast<void*>(SpyBitBlt), reinterpret_cast<void**>(&RealBitBlt)},
};

// The program's gdi32 import entry that holds address.
void** EntryHolding(const void* address) { return unittest::ImportEntryHolding("gdi32.dll", address); }

}  // namespace

GdiSpy::GdiSpy() {
  Active = this;
  SelectedInto.clear();
  installed_ = true;
  for (const Hook& hook : kHooks) {
    *hook.real = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("gdi32.dll"), hook.name));
    installed_ = unittest::PatchImportEntry(EntryHolding(*hook.real), hook.spy) && installed_;
  }
}

GdiSpy::~GdiSpy() {
  for (const Hook& hook : kHooks) unittest::PatchImportEntry(EntryHolding(hook.spy), *hook.real);
  Active = nullptr;
}

}  // namespace drawtest
