// The program header of every unit-test program.
#include "core/program.h"

TESSARIC_PROGRAM("Tessaric0001", "unittest")
