#include "gui/forms.h"

namespace tessaric {

const ListControl ListBoxData = kListBox;
const ListControl ComboBoxData = kComboBox;
const ListText ListBoxTextData = kListBoxText;
const ListText ComboBoxTextData = kComboBoxText;

}  // namespace tessaric
