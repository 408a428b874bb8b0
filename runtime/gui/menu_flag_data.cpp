#include "gui/forms.h"

namespace tessaric {

const MenuFlag MenuCheckedData = kMenuChecked;
const MenuFlag MenuEnabledData = kMenuEnabled;

}  // namespace tessaric
