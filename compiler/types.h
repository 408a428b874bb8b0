// The language's types: three kinds of value and the kinds of object.
#pragma once

#include <cstdint>
#include <string>

namespace tbc {

// Error stands for a value whose type could not be found; it is accepted
// everywhere, so that one mistake gives one message.
enum class ValueType { Error, Integer, Double, String, None, Record };

// Objects are records of the runtime; a program declares them with DIM.
enum class ObjectKind {
  Form, Button, CheckBox, RadioButton, ComboBox, Edit, Memo, RichEdit, Label, Picture, ListBox,
  StatusBar, Bitmap, File, Registry, Timer, Menu, MenuItem,
};
constexpr int kObjectKinds = 18;

// A set of object kinds, as a bit mask.
using KindSet = uint32_t;
constexpr KindSet Kinds(ObjectKind kind) { return 1u << static_cast<int>(kind); }
constexpr KindSet kControls = 0x0FFE;  // every GUI kind but the form
constexpr KindSet kGuiKinds = 0x0FFF;
constexpr KindSet kMenuKinds = Kinds(ObjectKind::Menu) | Kinds(ObjectKind::MenuItem);
// The sets the tables of members name, for the checker's table and the
// native back end's.
namespace kinds {
constexpr KindSet kForm = Kinds(ObjectKind::Form);
constexpr KindSet kButton = Kinds(ObjectKind::Button);
constexpr KindSet kCombo = Kinds(ObjectKind::ComboBox);
constexpr KindSet kRich = Kinds(ObjectKind::RichEdit);
constexpr KindSet kPicture = Kinds(ObjectKind::Picture);
constexpr KindSet kList = Kinds(ObjectKind::ListBox);
constexpr KindSet kBitmap = Kinds(ObjectKind::Bitmap);
constexpr KindSet kChecks = Kinds(ObjectKind::CheckBox) | Kinds(ObjectKind::RadioButton);
constexpr KindSet kEdits = Kinds(ObjectKind::Edit) | Kinds(ObjectKind::Memo);
constexpr KindSet kTimer = Kinds(ObjectKind::Timer);
constexpr KindSet kMenuItem = Kinds(ObjectKind::MenuItem);
constexpr KindSet kMoved = kGuiKinds & ~kPicture;  // moved with ApplyGeometry
constexpr KindSet kPlainControls = kControls & ~kRich;
constexpr KindSet kCanvas = kForm | kBitmap;  // what can be drawn on
}  // namespace kinds

const char* TypeName(ValueType type);
const char* KindName(ObjectKind kind);
// Forms and controls: objects with a window.
bool IsGuiKind(ObjectKind kind);
// Objects that are records of the program's object table: forms, controls
// and menu entries.
bool IsTableKind(ObjectKind kind);
// Objects declared only at the top level of the main code: those of the
// table, bitmaps and timers.
bool IsWindowLibraryKind(ObjectKind kind);
bool IsNumeric(ValueType type);
// The type a name's last character gives it ($ STRING, % and & INTEGER, ! and
// # DOUBLE); None for a name without one.
ValueType SuffixType(const std::string& name);
// "a name ending in $ is a STRING", for the name's own suffix.
std::string SuffixRule(const std::string& name);

// A value known when the program is compiled.
struct Constant {
  ValueType type = ValueType::Error;
  int32_t integer = 0;
  long double number = 0;
  std::string text;

  bool known() const { return type != ValueType::Error; }
  long double AsNumber() const { return type == ValueType::Integer ? integer : number; }
};

}  // namespace tbc
