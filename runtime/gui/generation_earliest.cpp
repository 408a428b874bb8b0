#include "gui/generation.h"

namespace tessaric {

const GuiGeneration EarliestGenerationData = kEarliestGeneration;

}  // namespace tessaric
