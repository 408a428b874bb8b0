#include "core/language.h"

namespace tessaric {

namespace {

constexpr uint32_t kArrayIndexError = 3;

}  // namespace

void ArrayIndexError() { FatalError(kArrayIndexError); }

}  // namespace tessaric
