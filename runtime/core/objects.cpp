#include "core/objects.h"

namespace tessaric {

void* CurrentObject = nullptr;
void* QueryObject = nullptr;

}  // namespace tessaric
