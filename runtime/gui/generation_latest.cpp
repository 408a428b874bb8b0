#include "gui/generation.h"

namespace tessaric {

const GuiGeneration LatestGenerationData = kLatestGeneration;

}  // namespace tessaric
