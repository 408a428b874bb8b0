#include "gui/generation.h"

namespace tessaric {

const GuiGeneration MiddleGenerationData = kMiddleGeneration;

}  // namespace tessaric
