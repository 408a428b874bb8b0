// Everything a compiled module sees of the runtime, as one header, which the
// build also precompiles for the compiler.
#ifndef TESSARIC_COMPILED_H
#define TESSARIC_COMPILED_H

#include "console/console.h"
#include "core/language.h"
#include "core/number_functions.h"
#include "core/numbers.h"
#include "core/statements.h"
#include "core/arrays.h"
#include "file/file.h"
#include "fpu/fpu.h"
#include "gui/drawing.h"
#include "gui/forms.h"
#include "library/library.h"
#include "registry/registry.h"
#include "system/system.h"

#endif
