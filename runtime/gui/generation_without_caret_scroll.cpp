#include "gui/generation.h"

namespace tessaric {

const GuiGeneration LatestWithoutCaretScrollData = WithoutCaretScroll(kLatestGeneration);

}  // namespace tessaric
