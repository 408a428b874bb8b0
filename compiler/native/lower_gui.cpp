// Window programs: the records of forms, controls, menu entries and timers,
// the object table and the generation the library reads, the start and end
// of the main code, the constructors that DIM runs, and the properties,
// methods and event slots of those objects, each a row of the tables below.
// A member without a row is refused.
#include <cstring>

#include "gui_entries.h"
#include "lower_internal.h"

namespace tbc {
namespace native {

namespace {

using namespace kinds;

// The fields of ObjectRecord, by byte offset; then ExtendedRecord's slot.
enum Field : int32_t {
  kNoField = -1, kExStyle = 0, kStyle = 12, kLeft = 16, kTop = 20, kWidth = 24, kHeight = 28, kParentWindow = 32,
  kObjectIndex = 36, kWindowHandle = 40, kIconName = 44, kBitmapName = 48, kFont = 52, kStatusBarWindow = 56,
  kMenuHandle = 60, kTextColor = 68, kOnCommand = 72, kOnClose = 76, kOnKeyDown = 80, kOnKeyUp = 84,
  kOnDoubleClick = 88, kOnMouseDown = 92, kOnMouseUp = 96, kOnPaint = 100, kOnResize = 104, kOnShow = 108,
  kOnMessage = 112, kOnMouseMove = 116, kOnChange = 120,
  // TimerObject's.
  kInterval = 0, kTimerEnabled = 4, kOnTimer = 8,
  // BitmapObject's: the header's width and height, then its own fields.
  kBitmapWidth = 4, kBitmapHeight = 8, kBits = 48, kSourceX = 52, kSourceY = 56, kRasterOp = 68,
};
constexpr int32_t kRecordBytes = 120;
constexpr int32_t kTimerBytes = 24;
constexpr uint32_t kSrcCopy = 0x00CC0020;
// WindowCanvas: the record, the surface (a BitmapObject), the DC of its own,
// the font it replaced, the paint DC it replaced.
constexpr int32_t kCanvasBytes = 4 + 76 + 12;

}  // namespace

// A write, a method or a read of a member. The value or the arguments are
// made first, in source order, into the room of the call; then the record
// is selected; then a write stores the value into a field, and the routine
// is called. A read without a routine loads the field.
//   args: the routine's arguments in order: v the written value, 1-5 a
//   method's arguments, k the row's constant, z a 0, a the address of the
//   row's datum (a constant record of the runtime), o the record's address,
//   t the record as a drawing target (the record, and itself again for a
//   bitmap, or a canvas of its window), s the address of a rich edit's
//   selection.
struct GuiRow {
  const char* name;
  KindSet kinds;
  GuiSelect select;
  int32_t field;
  const RuntimeEntry* call;
  const char* args;
  int32_t constant;
  const char* datum;
  bool inSelection = false;  // the field is one of a rich edit's CHARRANGE
  bool flag = false;         // the field holds the value as 0 or 1
};

namespace {

constexpr GuiSelect C = GuiSelect::Current, Q = GuiSelect::Query, N = GuiSelect::None;

#define GEOMETRY(NAME, FIELD) \
  {NAME, kMoved, C, FIELD, &kApplyGeometry, "", 0, nullptr}, {NAME, kPicture, C, FIELD, &kMoveObjectWindow, "", 0, nullptr}
#define EVENT(NAME, FIELD) {NAME, kGuiKinds, N, FIELD, nullptr, "", 0, nullptr}

const GuiRow kWrites[] = {
    GEOMETRY("LEFT", kLeft),
    GEOMETRY("TOP", kTop),
    GEOMETRY("WIDTH", kWidth),
    GEOMETRY("HEIGHT", kHeight),
    {"CAPTION", kGuiKinds, C, kNoField, &kWriteCaption, "v", 0, nullptr},
    {"TEXT", kGuiKinds, C, kNoField, &kWriteCaption, "v", 0, nullptr},
    {"BACKCOLOR", kPlainControls, C, kNoField, &kSetBackColor, "v", 0, nullptr},
    {"BACKCOLOR", kRich, C, kNoField, &kSetRichBackColor, "v", 0, nullptr},
    {"BACKCOLOR", kForm, C, kNoField, &kSetFormBackColor, "v", 0, nullptr},
    {"TEXTCOLOR", kPlainControls, N, kTextColor, nullptr, "", 0, nullptr},
    {"TEXTCOLOR", kRich, C, kNoField, &kSetRichTextColor, "v", 0, nullptr},
    {"STYLE", kGuiKinds, C, kNoField, &kWriteStyle, "v", 0, nullptr},
    {"EDITABLE", kCombo, C, kNoField, &kSetEditable, "v", 0, nullptr},
    {"CURSOR", kGuiKinds, C, kNoField, &kSetObjectCursor, "v", 0, nullptr},
    {"BITMAPFILE", kPicture, C, kNoField, &kSetBitmapFile, "av", 0, kPictureImage},
    {"BITMAPFILE", kButton, C, kNoField, &kSetBitmapFile, "av", 0, kButtonImage},
    {"ICON", kButton, C, kIconName, &kCreateButton, "", 0, nullptr},
    {"ICON", kPicture, C, kIconName, &kCreatePicture, "", 0, nullptr},
    {"BITMAP", kButton, C, kBitmapName, &kCreateButton, "", 0, nullptr},
    {"BITMAP", kPicture, C, kBitmapName, &kCreatePicture, "", 0, nullptr},
    {"ITEMINDEX", kList, C, kNoField, &kSetItemIndex, "av", 0, kListBoxData},
    {"ITEMINDEX", kCombo, C, kNoField, &kSetItemIndex, "av", 0, kComboBoxData},
    {"CHECKED", kChecks, C, kNoField, &kSetChecked, "v", 0, nullptr},
    {"CHECKED", kMenuItem, C, kNoField, &kWriteMenuFlag, "av", 0, kMenuCheckedData},
    {"ENABLED", kGuiKinds, C, kNoField, &kSetEnabled, "v", 0, nullptr},
    {"ENABLED", kMenuKinds, C, kNoField, &kWriteMenuFlag, "av", 0, kMenuEnabledData},
    {"ENABLED", kTimer, N, kTimerEnabled, &kUpdateTimer, "o", 0, nullptr, false, true},
    {"INTERVAL", kTimer, N, kInterval, &kUpdateTimer, "o", 0, nullptr},
    {"VISIBLE", kGuiKinds, C, kNoField, &kSetVisible, "v", 0, nullptr},
    {"DEFAULT", kButton, C, kNoField, &kSetDefaultButton, "v", 0, nullptr},
    {"CAPTION", kMenuKinds, C, kNoField, &kSetMenuEntryText, "v", 0, nullptr},
    {"FONTNAME", kGuiKinds, C, kNoField, &kWriteFont, "kzv", 0, nullptr},  // kFontName
    {"FONTSIZE", kGuiKinds, C, kNoField, &kWriteFont, "kvz", 1, nullptr},  // kFontSize
    {"FONTBOLD", kGuiKinds, C, kNoField, &kWriteFont, "kvz", 2, nullptr},  // kFontBold
    {"STATUSBARWINDOW", kForm, N, kStatusBarWindow, nullptr, "", 0, nullptr},
    {"MENUHANDLE", kGuiKinds, N, kMenuHandle, nullptr, "", 0, nullptr},
    {"SELSTART", kRich, C, 0, &kApplySelection, "s", 0, nullptr, true},  // cpMin
    {"SELEND", kRich, C, 4, &kApplySelection, "s", 0, nullptr, true},    // cpMax
    EVENT("ONCOMMAND", kOnCommand),
    EVENT("ONCLOSE", kOnClose),
    EVENT("ONKEYDOWN", kOnKeyDown),
    EVENT("ONKEYUP", kOnKeyUp),
    EVENT("ONDOUBLECLICK", kOnDoubleClick),
    EVENT("ONMOUSEDOWN", kOnMouseDown),
    EVENT("ONMOUSEUP", kOnMouseUp),
    EVENT("ONPAINT", kOnPaint),
    EVENT("ONRESIZE", kOnResize),
    EVENT("ONSHOW", kOnShow),
    EVENT("ONMESSAGE", kOnMessage),
    EVENT("ONMOUSEMOVE", kOnMouseMove),
    {"ONCHANGE", kList | kCombo | kEdits, N, kOnChange, nullptr, "", 0, nullptr},
    {"ONCHANGE", kRich, C, kOnChange, &kReportTextChanges, "", 0, nullptr},
    {"ONCOMMAND", kMenuItem, N, kOnCommand, nullptr, "", 0, nullptr},
    {"ONTIMER", kTimer, N, kOnTimer, nullptr, "", 0, nullptr},
    {"SOURCEX", kBitmap, N, kSourceX, nullptr, "", 0, nullptr},
    {"SOURCEY", kBitmap, N, kSourceY, nullptr, "", 0, nullptr},
    {"RASTEROP", kBitmap, N, kRasterOp, nullptr, "", 0, nullptr},
};

// Methods without a result.
const GuiRow kMethods[] = {
    {"REMOVEITEM", kList, C, kNoField, &kTellWindow, "k1", 0x0182, nullptr},   // LB_DELETESTRING
    {"REMOVEITEM", kCombo, C, kNoField, &kTellWindow, "k1", 0x0144, nullptr},  // CB_DELETESTRING
    {"CLEAR", kList, C, kNoField, &kTellWindow, "kz", 0x0184, nullptr},        // LB_RESETCONTENT
    {"CLEAR", kCombo, C, kNoField, &kTellWindow, "kz", 0x014B, nullptr},       // CB_RESETCONTENT
    {"FOCUS", kGuiKinds, C, kNoField, &kFocusObject, "", 0, nullptr},
    {"ADDITEM", kList, C, kNoField, &kAddItem, "a1", 0, kListBoxData},
    {"ADDITEM", kCombo, C, kNoField, &kAddItem, "a1", 0, kComboBoxData},
    {"REFRESH", kGuiKinds, Q, kNoField, &kRefreshGeometry, "", 0, nullptr},
    {"MOVE", kGuiKinds, C, kNoField, &kMoveObjectWindow, "", 0, nullptr},
    {"HIDE", kGuiKinds, C, kNoField, &kSetVisible, "k", 0, nullptr},
    {"CLOSE", kForm, C, kNoField, &kCloseForm, "", 0, nullptr},
    {"SHOWMODAL", kForm, C, kNoField, &kShowModal, "", 0, nullptr},
    {"REPAINT", kGuiKinds, C, kNoField, &kRepaintObject, "", 0, nullptr},
    {"DRAWCIRCLE", kCanvas, N, kNoField, &kDrawCircle, "t1234", 0, nullptr},
    {"FILLCIRCLE", kCanvas, N, kNoField, &kFillCircle, "t1234", 0, nullptr},
    {"DRAWBOX", kCanvas, N, kNoField, &kDrawBox, "t12345", 0, nullptr},
    {"FLOODFILL", kCanvas, N, kNoField, &kFloodFill, "t1234", 0, nullptr},
    {"COPYBITMAP", kCanvas, N, kNoField, &kCopyBitmap, "t123", 0, nullptr},
    {"DRAWLINE", kCanvas, N, kNoField, &kDrawLine, "t12345", 0, nullptr},
    {"SETPIXEL", kCanvas, N, kNoField, &kSetPixelColour, "t123", 0, nullptr},
    {"FILLBOX", kCanvas, N, kNoField, &kFillBox, "t12345", 0, nullptr},
    {"DRAWTEXT", kCanvas, N, kNoField, &kDrawTextAt, "t1234", 0, nullptr},
};

// Reads of properties, and methods with a result.
const GuiRow kReads[] = {
    {"LEFT", kGuiKinds, N, kLeft, nullptr, "", 0, nullptr},
    {"TOP", kGuiKinds, N, kTop, nullptr, "", 0, nullptr},
    {"WIDTH", kGuiKinds, N, kWidth, nullptr, "", 0, nullptr},
    {"HEIGHT", kGuiKinds, N, kHeight, nullptr, "", 0, nullptr},
    {"CAPTION", kGuiKinds, Q, kNoField, &kGetText, "", 0, nullptr},
    {"TEXT", kGuiKinds & ~kList, Q, kNoField, &kGetText, "", 0, nullptr},
    {"TEXT", kList, Q, kNoField, &kSelectedItemText, "", 0, nullptr},
    {"TEXTCOLOR", kGuiKinds, N, kTextColor, nullptr, "", 0, nullptr},
    {"STYLE", kGuiKinds, Q, kNoField, &kGetStyle, "", 0, nullptr},
    {"ITEMINDEX", kList, Q, kNoField, &kAskWindow, "k", 0x0188, nullptr},   // LB_GETCURSEL
    {"ITEMINDEX", kCombo, Q, kNoField, &kAskWindow, "k", 0x0147, nullptr},  // CB_GETCURSEL
    {"ITEMCOUNT", kList, Q, kNoField, &kAskWindow, "k", 0x018B, nullptr},   // LB_GETCOUNT
    {"ITEMCOUNT", kCombo, Q, kNoField, &kAskWindow, "k", 0x0146, nullptr},  // CB_GETCOUNT
    {"ITEM", kList, Q, kNoField, &kItemText, "a1", 0, kListBoxTextData},
    {"ITEM", kCombo, Q, kNoField, &kItemText, "a1", 0, kComboBoxTextData},
    {"CHECKED", kChecks, Q, kNoField, &kAskWindow, "k", 0x00F0, nullptr},  // BM_GETCHECK
    {"CHECKED", kMenuItem, Q, kNoField, &kReadMenuFlag, "a", 0, kMenuCheckedData},
    {"ENABLED", kGuiKinds, Q, kNoField, &kReadEnabled, "", 0, nullptr},
    {"ENABLED", kMenuKinds, Q, kNoField, &kReadMenuFlag, "a", 0, kMenuEnabledData},
    {"ENABLED", kTimer, N, kTimerEnabled, nullptr, "", 0, nullptr},
    {"INTERVAL", kTimer, N, kInterval, nullptr, "", 0, nullptr},
    {"VISIBLE", kGuiKinds, Q, kNoField, &kReadVisible, "", 0, nullptr},
    {"DEFAULT", kButton, Q, kNoField, &kReadDefaultButton, "", 0, nullptr},
    {"CAPTION", kMenuKinds, Q, kNoField, &kGetMenuEntryText, "", 0, nullptr},
    {"FONTNAME", kGuiKinds, Q, kNoField, &kReadFontName, "", 0, nullptr},
    {"FONTSIZE", kGuiKinds, Q, kNoField, &kReadFontNumber, "k", 1, nullptr},
    {"FONTBOLD", kGuiKinds, Q, kNoField, &kReadFontNumber, "k", 2, nullptr},
    {"CLIENTHEIGHT", kForm, Q, kNoField, &kGetClientHeight, "", 0, nullptr},
    {"CLIENTWIDTH", kForm, Q, kNoField, &kGetClientWidth, "", 0, nullptr},
    {"WINDOWHANDLE", kGuiKinds, N, kWindowHandle, nullptr, "", 0, nullptr},
    {"PARENTWINDOW", kGuiKinds, N, kParentWindow, nullptr, "", 0, nullptr},
    {"OBJECTINDEX", kGuiKinds, N, kObjectIndex, nullptr, "", 0, nullptr},
    {"EXSTYLE", kGuiKinds, N, kExStyle, nullptr, "", 0, nullptr},
    {"FONT", kGuiKinds, N, kFont, nullptr, "", 0, nullptr},
    {"STATUSBARWINDOW", kForm, N, kStatusBarWindow, nullptr, "", 0, nullptr},
    {"MENUHANDLE", kGuiKinds, N, kMenuHandle, nullptr, "", 0, nullptr},
    {"TEXTWIDTH", kCanvas | kControls, N, kNoField, &kTextWidth, "t1", 0, nullptr},
    {"TEXTHEIGHT", kCanvas | kControls, N, kNoField, &kTextHeight, "t1", 0, nullptr},
    {"CURRENTLINE", kRich, Q, kNoField, &kGetCurrentLine, "s", 0, nullptr},
    {"GETPIXEL", kCanvas, N, kNoField, &kPixelColour, "t12", 0, nullptr},
    {"WIDTH", kBitmap, N, kBitmapWidth, nullptr, "", 0, nullptr},
    {"HEIGHT", kBitmap, N, kBitmapHeight, nullptr, "", 0, nullptr},
    {"BITS", kBitmap, N, kBits, nullptr, "", 0, nullptr},
    {"SOURCEX", kBitmap, N, kSourceX, nullptr, "", 0, nullptr},
    {"SOURCEY", kBitmap, N, kSourceY, nullptr, "", 0, nullptr},
    {"RASTEROP", kBitmap, N, kRasterOp, nullptr, "", 0, nullptr},
};

#undef GEOMETRY
#undef EVENT

template <size_t n>
const GuiRow* FindRow(const GuiRow (&rows)[n], const Expr& e) {
  KindSet kind = Kinds(e.symbol->object);
  for (const GuiRow& row : rows)
    if (e.name.size() == std::strlen(row.name) && ToUpper(e.name) == row.name && (row.kinds & kind) != 0) return &row;
  return nullptr;
}

const RuntimeEntry* Constructor(ObjectKind kind) {
  switch (kind) {
    case ObjectKind::Form: return &kCreateForm;
    case ObjectKind::Button: return &kCreateButton;
    case ObjectKind::CheckBox: return &kCreateCheckBox;
    case ObjectKind::RadioButton: return &kCreateRadioButton;
    case ObjectKind::ComboBox: return &kCreateComboBox;
    case ObjectKind::Edit: return &kCreateEdit;
    case ObjectKind::Memo: return &kCreateMemo;
    case ObjectKind::RichEdit: return &kCreateRichEdit;
    case ObjectKind::Label: return &kCreateLabel;
    case ObjectKind::Picture: return &kCreatePicture;
    case ObjectKind::ListBox: return &kCreateListBox;
    case ObjectKind::StatusBar: return &kCreateFormStatusBar;
    default: return nullptr;
  }
}

// The first form declared: the program's main form.
const Symbol* MainForm(const Program& p) {
  for (const Symbol* o : p.guiObjects)
    if (o->object == ObjectKind::Form) return o;
  return nullptr;
}

void Put(std::vector<uint8_t>& bytes, uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

int Lowering::DataSection() {
  if (data_ < 0) data_ = object_.AddSection(".data", CoffObject::Kind::Data);
  return data_;
}

// A form's, control's or menu entry's record, as its image gives it: every
// form but the main one hides at its close box until the program gives it
// an OnClose. In a program with the newer window procedure every record has
// room for its further slot. A timer starts as zeros.
void Lowering::PlaceObject(const Symbol& s) {
  if (s.object == ObjectKind::Timer) {
    variables_[&s] = Global(".bss", static_cast<int32_t>(object_.Reserve(bss_, kTimerBytes, 4)));
    return;
  }
  if (s.object == ObjectKind::Bitmap) {
    // BitmapImage: the header as declared (its size, the width and height,
    // one plane, the depth, BI_RGB), no DC, bitmap or bits yet, the
    // declared size, SRCCOPY.
    std::vector<uint8_t> image;
    Put(image, 40);
    Put(image, static_cast<uint32_t>(s.bitmapWidth));
    Put(image, static_cast<uint32_t>(s.bitmapHeight));
    Put(image, 1u | static_cast<uint32_t>(s.bitmapDepth) << 16);
    image.resize(60, 0);
    Put(image, static_cast<uint32_t>(s.bitmapWidth));
    Put(image, static_cast<uint32_t>(s.bitmapHeight));
    Put(image, kSrcCopy);
    Put(image, 0);
    variables_[&s] = Global(".data", static_cast<int32_t>(object_.Append(DataSection(), image, 4)));
    return;
  }
  if (!IsTableKind(s.object)) Refuse(s.position);
  bool extended = (program_.needs & kNeedsWindowProc) != 0;
  std::vector<uint8_t> image;
  const uint32_t words[] = {0, 0, 0, 0x00CF0000, 80, 80, 480, 320};  // kObjectImage
  for (uint32_t w : words) Put(image, w);
  image.resize(extended ? kRecordBytes + 4 : kRecordBytes, 0);
  int section = DataSection();
  uint32_t at = object_.Append(section, image, 4);
  if (s.object == ObjectKind::Form && &s != MainForm(program_)) {
    // The image's OnClose is the runtime's HideClosedForm; its field holds 0
    // until the loader adds the routine's address.
    object_.AddRelocations(section, {{static_cast<uint32_t>(kOnClose), kHideClosedForm, Relocation::kAddress}}, at);
  }
  variables_[&s] = Global(".data", static_cast<int32_t>(at));
  if (s.object == ObjectKind::RichEdit) selections_[&s] = object_.Reserve(bss_, 8, 4);  // its CHARRANGE
}

// What TESSARIC_GUI declares: the object table (a slot per record and a null
// one after them), the number of record slots, and the generation.
void Lowering::WriteGuiTable() {
  uint32_t slots = static_cast<uint32_t>(program_.guiObjects.size());
  object_.Define(kObjectTable, bss_, object_.Reserve(bss_, 4 * (slots + 1), 4), false);
  std::vector<uint8_t> bytes;
  Put(bytes, slots);
  object_.Define(kObjectTableRecordSlots, rdata_, object_.Append(rdata_, bytes, 4), false);
  // Generation points at the runtime's record of the program's generation.
  const char* generation = program_.generation == kEarliest ? kEarliestGenerationData
                           : program_.generation == kMiddle ? kMiddleGenerationData
                           : program_.caretScroll           ? kLatestGenerationData
                                                            : kLatestWithoutCaretScrollData;
  bytes.assign(4, 0);
  int section = DataSection();
  uint32_t pointer = object_.Append(section, bytes, 4);
  object_.AddRelocations(section, {{0, generation, Relocation::kAddress}}, pointer);
  object_.Define(kGeneration, section, pointer, false);
}

// The start of a window program's main code: its form class.
void Lowering::StartWindows() {
  bool extended = (program_.needs & kNeedsWindowProc) != 0;
  a_.PushAddress(kAppIconName);
  a_.PushAddress(kWindowClassInfo);
  CallEntry(extended ? kRegisterExtendedFormClass : kRegisterFormClass);
  if (program_.tabStops) CallEntry(kEnableTabStops);
}

Mem Lowering::ObjectPlace(const Symbol& s) {
  auto found = variables_.find(&s);
  if (found == variables_.end()) Refuse(s.position);
  return found->second;
}

// DIM of forms and controls: each made as its statement runs, on its form
// (IN, or the form made last); menu entries on their form's bar or in their
// menu's popup.
void Lowering::DimObjects(const Stmt& s) {
  for (const DimItem& d : s.dims) {
    const Symbol* o = d.symbol;
    if (o == nullptr || o->kind != Symbol::Kind::Object) continue;
    if (o->object == ObjectKind::Bitmap) {
      PushPlace(ObjectPlace(*o));
      CallEntry(kCreateBitmapObject);
      continue;
    }
    if ((Kinds(o->object) & kMenuKinds) != 0) {
      if (o->parent == nullptr) continue;
      Mem place = ObjectPlace(*o);
      StoreAddressOf(Global(kCurrentObject), place);
      a_.PushImm(o->object == ObjectKind::Menu ? 1 : 0);
      PushPlace(ObjectPlace(*o->parent));
      CallEntry(o->parent->object == ObjectKind::Form ? kCreateMenuOn : kCreateMenuIn);
      continue;
    }
    const RuntimeEntry* make = Constructor(o->object);
    if (make == nullptr) continue;
    Mem place = ObjectPlace(*o);
    if (o->parent != nullptr) {
      Mem parent = ObjectPlace(*o->parent);
      a_.Load(EAX, Global(parent.symbol, parent.disp + kWindowHandle));
      a_.Store(Global(place.symbol, place.disp + kParentWindow), EAX);
    }
    StoreAddressOf(Global(kCurrentObject), place);
    CallEntry(*make);
    if (o->object == ObjectKind::RichEdit) {
      // What the statement that makes a rich edit sends it afterwards.
      a_.PushImm(0x00130003);
      a_.PushImm(0);
      a_.PushImm(0x048D);
      a_.Push(Global(place.symbol, place.disp + kWindowHandle));
      a_.CallIndirect(Global(kSendMessageA));
    }
  }
}

// The row's call: the value made first, into the room of the call where it
// is an argument, else kept on the machine stack above it; the arguments
// made into the room in order (a method's in source order); the record
// selected, the field written, then the routine. So nothing the value does
// (a FUNCTION that acts on another object) can move the record the write
// acts on. With no routine, the value goes to the field from EAX.
void Lowering::GuiAct(const GuiRow& row, const Expr& member, const Expr* value, char valueKind) {
  const Symbol& o = *member.symbol;
  Mem place = ObjectPlace(o);
  // A field's value in EAX: a number, or a handler's address.
  auto make = [&]() {
    if (valueKind != 'H') {
      Integer(*value);
      return;
    }
    auto handler = routines_.find(value->routine);
    if (handler == routines_.end()) Refuse(value->position);
    a_.PushLabel(handler->second);
    a_.Pop(EAX);
  };
  if (row.call == nullptr) {
    if (value == nullptr) Refuse(member.position);
    make();
    SelectRecord(row.select, place);
    a_.Store(Global(place.symbol, place.disp + row.field), EAX);
    return;
  }
  std::vector<Argument> args;
  int32_t valueAt = -1, at = 0, target = -1;
  auto add = [&](Argument a) {
    at += a.kind == 'S' ? 8 : a.kind == 'N' ? 12 : 4;
    args.push_back(std::move(a));
  };
  // Records and runtime data have fixed addresses: constant arguments.
  auto address = [&](const Mem& m) {
    if (m.base != kNoBase) Refuse(member.position);
    add(AddressArgument(m));
  };
  Mem range;  // the rich edit's selection
  if (row.inSelection || std::strchr(row.args, 's') != nullptr) {
    auto found = selections_.find(&o);
    if (found == selections_.end()) Refuse(member.position);
    range = Global(".bss", static_cast<int32_t>(found->second));
  }
  const Member& m = *member.member;
  for (const char* p = row.args; *p; ++p) {
    switch (*p) {
      case 'v': {
        if (value == nullptr) Refuse(member.position);
        char kind = valueKind == 'T' || valueKind == 'S' ? valueKind : 'I';
        if (valueKind == 'R' && value->constant.known() && value->constant.type == ValueType::String) kind = 'T';
        valueAt = at;
        add({value, kind, 0});
        break;
      }
      case 'k': add({nullptr, 'I', row.constant}); break;
      case 'z': add({nullptr, 'I', 0}); break;
      case 'a': address(Global(row.datum)); break;
      case 's': address(range); break;
      case 'o': address(place); break;
      case 't':
        // A bitmap draws on itself; a canvas goes to the second later.
        target = at;
        address(place);
        if (o.object == ObjectKind::Bitmap) address(place);
        else add({nullptr, 'I', 0});
        break;
      default: {
        size_t i = static_cast<size_t>(*p - '1');
        if (i >= member.args.size()) Refuse(member.position);  // an optional argument left out
        char kind = static_cast<char>(m.args[i] & ~0x20);
        if (kind == 'B') {
          // A bitmap object: its record's address.
          const Expr& b = *member.args[i];
          if (b.symbol == nullptr || b.symbol->kind != Symbol::Kind::Object) Refuse(b.position);
          address(ObjectPlace(*b.symbol));
          break;
        }
        if (kind != 'I' && kind != 'S' && kind != 'T' && kind != 'N' && kind != 'P') Refuse(member.position);
        add({member.args[i].get(), kind, 0});
        break;
      }
    }
  }
  if (row.field >= 0 && value == nullptr) Refuse(member.position);
  // A constant INTEGER does nothing when made: it goes straight to the field.
  bool constant = row.field >= 0 && valueAt < 0 && !row.flag && value->constant.known() &&
                  value->constant.type == ValueType::Integer;
  bool kept = row.field >= 0 && valueAt < 0 && !constant;
  if (kept) {
    make();
    a_.Push(EAX);
  }
  Arguments(args);
  // The drawing target: a bitmap is its own bitmap; a form or control of a
  // program that draws on windows at any time is drawn through a canvas of
  // its window, made now and gone after the call.
  bool canvas = target >= 0 && IsGuiKind(o.object) && (program_.needs & kNeedsCanvas) == kNeedsCanvas;
  Mem surface;
  if (canvas) {
    surface = At(EBP, FrameSlot(kCanvasBytes));
    PushPlace(place);
    a_.Lea(ECX, surface);
    a_.Call(kWindowCanvasMake.symbol);  // thiscall: the callee takes its argument
    a_.Lea(ECX, At(EBP, surface.disp + 4));
    a_.Store(At(ESP, target + 4), ECX);
  }
  SelectRecord(row.select, place);
  if (constant) {
    a_.StoreImm(row.inSelection ? Global(range.symbol, range.disp + row.field)
                                : Global(place.symbol, place.disp + row.field), value->constant.integer);
  } else if (row.field >= 0) {
    a_.Load(EAX, At(ESP, kept ? at : valueAt));
    if (row.flag) {
      a_.Test(EAX, EAX);
      a_.Setcc(kNotEqual, EAX);
      a_.MovzxByte(EAX, EAX);
    }
    a_.Store(row.inSelection ? Global(range.symbol, range.disp + row.field)
                             : Global(place.symbol, place.disp + row.field), EAX);
  }
  CallEntry(*row.call);
  if (kept) a_.AluImm(kAdd, ESP, 4);
  if (canvas) {
    a_.Push(EAX);
    a_.Lea(ECX, surface);
    a_.Call(kWindowCanvasEnd.symbol);
    a_.Pop(EAX);
  }
}

void Lowering::SelectRecord(GuiSelect select, const Mem& place) {
  if (select == GuiSelect::None) return;
  bool current = select == GuiSelect::Current || program_.generation == kEarliest;
  StoreAddressOf(Global(current ? kCurrentObject : kQueryObject), place);
}

// object.Property = value.
void Lowering::MemberWrite(const Stmt& s) {
  const Expr& t = *s.target;
  const Member& m = *t.member;
  if (m.use == Member::Use::Event && s.value->routine == nullptr) Refuse(s.value->position);
  const GuiRow* row = FindRow(kWrites, t);
  if (row == nullptr) Refuse(t.position);
  if (m.valueKind == 'R' && !s.value->constant.known()) Refuse(s.value->position);
  if (m.valueKind == 'R' && row->field >= 0) {
    // A resource: a number, or the address of its name.
    const Constant& c = s.value->constant;
    Mem place = ObjectPlace(*t.symbol);
    Mem field = Global(place.symbol, place.disp + row->field);
    if (c.type == ValueType::String) {
      a_.StoreAddress(field, ".rdata", static_cast<int32_t>(Literal(c.text)));
    } else {
      Integer(*s.value);
      a_.Store(field, EAX);
    }
    SelectRecord(row->select, place);
    CallEntry(*row->call);
    return;
  }
  GuiAct(*row, t, s.value.get(), m.valueKind);
}

// object.Method arguments, as a statement.
void Lowering::MemberCall(const Expr& c) {
  const Member& m = *c.member;
  if (m.use != Member::Use::Method) Refuse(c.position);
  if (c.symbol->object == ObjectKind::Form && m.name == std::string("SHOW")) {
    Mem place = ObjectPlace(*c.symbol);
    if (program_.generation == kEarliest) {
      // The earliest generation hands the window over.
      a_.Push(Global(place.symbol, place.disp + kWindowHandle));
      CallEntry(kShowWindowOf);
    } else {
      SelectRecord(GuiSelect::Current, place);
      CallEntry(kShowObject);
    }
    return;
  }
  const GuiRow* row = FindRow(kMethods, c);
  if (row == nullptr) {
    // A method with a result, its result unused.
    row = FindRow(kReads, c);
    if (row == nullptr || m.type == ValueType::None) Refuse(c.position);
    MemberRead(c);
    if (m.type == ValueType::Double) a_.FstpSt(0);
    return;
  }
  GuiAct(*row, c, nullptr, 'I');
}

// A property's value, or a method's result: an INTEGER in EAX, a text in
// EAX:EDX.
Storage Lowering::MemberRead(const Expr& e) {
  const Member& m = *e.member;
  const GuiRow* row = FindRow(kReads, e);
  if (row == nullptr) Refuse(e.position);
  Mem place = ObjectPlace(*e.symbol);
  if (row->call == nullptr) {
    a_.Load(EAX, Global(place.symbol, place.disp + row->field));
    return Storage::Temp;
  }
  GuiRow call = *row;
  call.field = kNoField;
  GuiAct(call, e, nullptr, 'I');
  return m.type == ValueType::String ? m.storage : Storage::Temp;
}

// OPEN CONSOLE: a console of the program's own, whose handles then serve
// its output and input.
void Lowering::OpenConsole() {
  a_.CallIndirect(Global(kAllocConsole));
  const std::pair<int32_t, const char*> handles[] = {
      {-11, kStdOutputHandle}, {-10, kStdInputHandle}, {-12, kStdErrorHandle}};  // STD_OUTPUT_HANDLE...
  for (const auto& h : handles) {
    a_.PushImm(h.first);
    a_.CallIndirect(Global(kGetStdHandle));
    a_.Store(Global(h.second), EAX);
  }
}

// The built-ins that reach the system or the window library: MSGBOX,
// TITLE, DOEVENTS, the dialogs and the event values. False for any other
// built-in.
bool Lowering::GuiBuiltin(const Expr& e) {
  const std::string name = e.builtin->name;
  if (name == "MSGBOX") {
    // MessageBoxA(no owner, text, caption, buttons): text, buttons and
    // caption made in source order; the caption is the program's name when
    // left out.
    Arguments({{e.args[0].get(), 'T', 0},
               e.args.size() > 1 ? Argument{e.args[1].get(), 'I', 0} : Argument{nullptr, 'I', 0},
               e.args.size() > 2 ? Argument{e.args[2].get(), 'T', 0} : AddressArgument(Global(kProgramHeader, 13))});
    a_.Pop(EAX);  // text
    a_.Pop(ECX);  // buttons
    a_.Pop(EDX);  // caption
    a_.Push(ECX);
    a_.Push(EDX);
    a_.Push(EAX);
    a_.PushImm(0);
    a_.CallIndirect(Global(kMessageBoxA));
    return true;
  }
  if (name == "TITLE") {
    // SetConsoleTitleA takes its argument off.
    Arguments({{e.args[0].get(), 'T', 0}});
    a_.CallIndirect(Global(kSetConsoleTitleA));
    return true;
  }
  if (name == "INPUTBOX$") {
    // InputBox(prompt, title, initial): the title is the program's name and
    // the initial text "" when left out.
    Arguments({{e.args[0].get(), 'T', 0},
               e.args.size() > 1 ? Argument{e.args[1].get(), 'T', 0} : AddressArgument(Global(kProgramHeader, 13)),
               e.args.size() > 2 ? Argument{e.args[2].get(), 'T', 0} : AddressArgument(Global(kEmptyText))});
    CallEntry(kInputBox);
    return true;
  }
  if (name == "OPENFILE$" || name == "SAVEFILE$") {
    Arguments({{nullptr, 'I', name == "OPENFILE$" ? 0 : 1}, {e.args[0].get(), 'T', 0}});  // kOpenFileDialog...
    CallEntry(kFileDialog);
    return true;
  }
  if (name == "DOEVENTS") {
    CallEntry(kDoEvents);
    return true;
  }
  struct Value {
    const char* name;
    const RuntimeEntry* entry;
    const char* global;
  };
  static const Value kValues[] = {
      {"EVENTWINDOW", nullptr, kEventWindow}, {"EVENTMESSAGE", nullptr, kEventMessage},
      {"EVENTWPARAM", nullptr, kEventWParam}, {"EVENTLPARAM", nullptr, kEventLParam},
      {"EVENTCODE", nullptr, kEventCode},     {"MOUSEX", &kEventMouseX, nullptr},
      {"MOUSEY", &kEventMouseY, nullptr},     {"MOUSEBUTTON", &kEventMouseButton, nullptr},
      {"KEYCODE", &kEventKeyCode, nullptr},
  };
  for (const Value& v : kValues) {
    if (name != v.name) continue;
    if (v.entry != nullptr) CallEntry(*v.entry);
    else a_.Load(EAX, Global(v.global));
    return true;
  }
  return false;
}

}  // namespace native
}  // namespace tbc
