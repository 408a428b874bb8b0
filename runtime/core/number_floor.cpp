#include "core/language.h"
#include "core/number_functions.h"

namespace tessaric {

long double NumberFloor(long double x) { return RoundToward(x, kRoundDown); }

}  // namespace tessaric
