#include "types.h"

namespace tbc {

const char* TypeName(ValueType type) {
  switch (type) {
    case ValueType::Integer: return "INTEGER";
    case ValueType::Double: return "DOUBLE";
    case ValueType::String: return "STRING";
    case ValueType::None: return "no value";
    case ValueType::Record: return "a record";
    default: return "an unknown type";
  }
}

const char* KindName(ObjectKind kind) {
  static const char* const kNames[kObjectKinds] = {
      "FORM", "BUTTON", "CHECKBOX", "RADIOBUTTON", "COMBOBOX", "EDIT", "MEMO", "RICHEDIT",
      "LABEL", "PICTURE", "LISTBOX", "STATUSBAR", "BITMAP", "FILE", "REGISTRY", "TIMER", "MENU", "MENUITEM"};
  return kNames[static_cast<int>(kind)];
}

bool IsGuiKind(ObjectKind kind) { return (Kinds(kind) & kGuiKinds) != 0; }

bool IsTableKind(ObjectKind kind) { return (Kinds(kind) & (kGuiKinds | kMenuKinds)) != 0; }

bool IsWindowLibraryKind(ObjectKind kind) {
  return IsTableKind(kind) || kind == ObjectKind::Bitmap || kind == ObjectKind::Timer;
}

ValueType SuffixType(const std::string& name) {
  switch (name.empty() ? '\0' : name.back()) {
    case '$': return ValueType::String;
    case '%': case '&': return ValueType::Integer;
    case '!': case '#': return ValueType::Double;
    default: return ValueType::None;
  }
}

std::string SuffixRule(const std::string& name) {
  return std::string("a name ending in ") + name.back() + " is " + (SuffixType(name) == ValueType::Integer ? "an " : "a ") +
         TypeName(SuffixType(name));
}

bool IsNumeric(ValueType type) {
  return type == ValueType::Integer || type == ValueType::Double || type == ValueType::Error;
}

}  // namespace tbc
