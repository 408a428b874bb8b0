#include "builtins.h"

#include <cctype>
#include <cstring>

namespace tbc {

namespace {

constexpr ValueType I = ValueType::Integer;
constexpr ValueType N = ValueType::Double;
constexpr ValueType S = ValueType::String;
constexpr ValueType V = ValueType::None;

const char* const kNumbers = "core/numbers.h";
const char* const kLanguage = "core/language.h";
const char* const kConsole = "console/console.h";
const char* const kFile = "file/file.h";
const char* const kGui = "gui/gui.h";
const char* const kNumberFunctions = "core/number_functions.h";
const char* const kSystem = "system/system.h";

// A number as a 32-bit pattern: USTR$, HEX$, OCT$ and BIN$ take it alike.
const char* const kPattern = "U";

// x87 code that rounds st(0) to a whole number, with the rounding control
// bits for the one instruction: down for INT, toward zero for FIX.
#define ROUND_WITH(BITS) \
  "fnstcw $a;movzwl $a, %%eax;andl $0xF3FF, %%eax;orl $" BITS ", %%eax;movl %%eax, $b;fldcw $b;frndint;fldcw $a"

// name, result, statement, args, defaults, emit, effects, storage, programs, special, header
const Builtin kBuiltins[] = {
    {"LEN", I, false, "S", "", "$1.length", kPure, Storage::Temp, kAnyProgram, Special::None, kLanguage},
    {"STR$", S, false, "N", "", "", kRing, Storage::Ring, kAnyProgram, Special::Str, kNumbers},
    {"USTR$", S, false, kPattern, "", "UnsignedText(static_cast<uint32_t>($1))", kRing, Storage::Ring, kAnyProgram,
     Special::None, kNumbers},
    {"VAL", N, false, "S", "", "TextToNumber($1)", kPure, Storage::Temp, kAnyProgram, Special::None, kLanguage},
    {"CHR$", S, false, "I", "", "StrCharacter($1)", kRing, Storage::Ring, kAnyProgram, Special::None, kLanguage},
    {"ASC", I, false, "S", "", "StrAsc($1)", kPure, Storage::Temp, kAnyProgram, Special::None, kLanguage},
    {"LEFT$", S, false, "SP", "", "StrLeft($1, $2)", kRing, Storage::Ring, kAnyProgram, Special::None, kLanguage,
     nullptr, 1, nullptr, "StrLeftView($1, $2)"},
    {"RIGHT$", S, false, "SP", "", "StrRight($1, $2)", kRing, Storage::Ring, kAnyProgram, Special::None,
     kLanguage, nullptr, 1, nullptr, "StrRightView($1, $2)"},
    {"MID$", S, false, "SPp", "0x7FFFFFFF", "StrMid($1, $2, $3)", kRing, Storage::Ring, kAnyProgram,
     Special::None, kLanguage, nullptr, 1, "StrOverwrite($1, $2, $3, $v);", "StrMidView($1, $2, $3)"},
    {"INSTR", I, false, "pSS", "1", "StrInstr($1, $2, $3)", kPure, Storage::Temp, kAnyProgram, Special::Instr,
     kLanguage},
    {"UCASE$", S, false, "S", "", "StrUpper($1)", kRing, Storage::Ring, kAnyProgram, Special::None, kLanguage},
    {"LCASE$", S, false, "S", "", "StrLower($1)", kRing, Storage::Ring, kAnyProgram, Special::None, kLanguage},
    {"ABS", N, false, "N", "", "NumberAbs($1)", kPure, Storage::Temp, kAnyProgram, Special::None, kLanguage,
     "fabs"},
    {"INT", N, false, "N", "", "NumberFloor($1)", kPure, Storage::Temp, kAnyProgram, Special::Int, kLanguage,
     ROUND_WITH("0x0400")},
    {"SQR", N, false, "N", "", "NumberSqrt($1)", kPure, Storage::Temp, kAnyProgram, Special::None, kLanguage,
     "fsqrt"},
    {"SIN", N, false, "N", "", "NumberSin($1)", kPure, Storage::Temp, kAnyProgram, Special::None, kNumberFunctions,
     "call NumberSinX87"},
    {"COS", N, false, "N", "", "NumberCos($1)", kPure, Storage::Temp, kAnyProgram, Special::None, kNumberFunctions,
     "call NumberCosX87"},
    {"TAN", N, false, "N", "", "NumberTan($1)", kPure, Storage::Temp, kAnyProgram, Special::None, kNumberFunctions,
     "call NumberTanX87", 2},
    {"ATN", N, false, "N", "", "NumberAtn($1)", kPure, Storage::Temp, kAnyProgram, Special::None, kNumberFunctions,
     "fld1;fpatan", 2},
    {"LOG", N, false, "N", "", "NumberLog($1)", kPure, Storage::Temp, kAnyProgram, Special::None, kNumberFunctions,
     "fldln2;fxch;fyl2x", 2},
    {"EXP", N, false, "N", "", "NumberExp($1)", kPure, Storage::Temp, kAnyProgram, Special::None, kNumberFunctions,
     "call NumberExpX87", 2},
    {"SGN", I, false, "N", "", "NumberSign($1)", kPure, Storage::Temp, kAnyProgram, Special::None, kNumberFunctions,
     "call NumberSignX87"},
    {"FIX", N, false, "N", "", "NumberTruncate($1)", kPure, Storage::Temp, kAnyProgram, Special::Int,
     kNumberFunctions, ROUND_WITH("0x0C00")},
    {"CINT", I, false, "I", "", "$1", kPure, Storage::Temp, kAnyProgram, Special::Int, kLanguage,
     "fistpl $a;fildl $a"},
    {"MIN", N, false, "NN", "", "NumberMin($1, $2)", kPure, Storage::Temp, kAnyProgram, Special::None,
     kNumberFunctions, "call NumberMinX87", 2},
    {"MAX", N, false, "NN", "", "NumberMax($1, $2)", kPure, Storage::Temp, kAnyProgram, Special::None,
     kNumberFunctions, "call NumberMaxX87", 2},
    // A constant, worked out when compiling (see the checker's Fold).
    {"PI", N, false, "", "", "", kPure, Storage::Temp, kAnyProgram, Special::None, kLanguage},
    {"RND", N, false, "", "", "RandomNumber()", kOrdered, Storage::Temp, kAnyProgram, Special::None,
     kNumberFunctions},
    {"TIMER", N, false, "", "", "ClockSeconds()", kOrdered, Storage::Temp, kAnyProgram, Special::None, kSystem},
    {"HEX$", S, false, kPattern, "", "NumberPattern(static_cast<uint32_t>($1), 4)", kRing, Storage::Ring,
     kAnyProgram, Special::None, kLanguage},
    {"OCT$", S, false, kPattern, "", "NumberPattern(static_cast<uint32_t>($1), 3)", kRing, Storage::Ring,
     kAnyProgram, Special::None, kLanguage},
    {"BIN$", S, false, kPattern, "", "NumberPattern(static_cast<uint32_t>($1), 1)", kRing, Storage::Ring,
     kAnyProgram, Special::None, kLanguage},
    {"SPACE$", S, false, "P", "", "StrRepeat($1, 32)", kRing, Storage::Ring, kAnyProgram, Special::None, kLanguage},
    {"STRING$", S, false, "PC", "", "StrRepeat($1, $2)", kRing, Storage::Ring, kAnyProgram, Special::None,
     kLanguage},
    {"LTRIM$", S, false, "S", "", "StrTrim($1, kTrimStart)", kRing, Storage::Ring, kAnyProgram, Special::None,
     kLanguage},
    {"RTRIM$", S, false, "S", "", "StrTrim($1, kTrimEnd)", kRing, Storage::Ring, kAnyProgram, Special::None,
     kLanguage},
    {"TRIM$", S, false, "S", "", "StrTrim($1, kTrimStart | kTrimEnd)", kRing, Storage::Ring, kAnyProgram,
     Special::None, kLanguage},
    {"INSTRREV", I, false, "SSp", "0x7FFFFFFF", "StrInstrRev($1, $2, $3)", kPure, Storage::Temp, kAnyProgram,
     Special::None, kLanguage},
    {"REPLACE$", S, false, "SSS", "", "StrReplace($1, $2, $3)", kRing, Storage::Ring, kAnyProgram, Special::None,
     kLanguage},
    {"INKEY$", S, false, "", "", "ConsoleInkey()", kOrdered | kRing, Storage::Ring, kAnyProgram, Special::None,
     kConsole},
    {"COMMAND$", S, false, "", "", "CommandArguments()", kPure, Storage::Literal, kAnyProgram, Special::None,
     kSystem},
    {"DATE$", S, false, "", "", "ClockText(kClockDate)", kOrdered | kRing, Storage::Ring, kAnyProgram,
     Special::None, kSystem},
    {"TIME$", S, false, "", "", "ClockText(kClockTime)", kOrdered | kRing, Storage::Ring, kAnyProgram,
     Special::None, kSystem},
    {"ENVIRON$", S, false, "T", "", "EnvironmentText($1)", kOrdered | kRing, Storage::Ring, kAnyProgram,
     Special::None, kSystem},
    {"MSGBOX", I, true, "Tit", "0|tessaric::ProgramHeader.ProgramName", "MessageBoxA(nullptr, $1, $3, $2)", kHazard,
     Storage::Temp, kAnyProgram, Special::MsgBox, kNumbers},
    {"READFILE$", S, false, "T", "", "FileReadAll(&FileTextBuffer, $1)", kOrdered, Storage::FileBuffer,
     kAnyProgram, Special::None, kFile},
    {"LBOUND", I, false, "Ai", "1", "ArrayLower($1, $2)", kPure, Storage::Temp, kAnyProgram, Special::Bound, kLanguage},
    {"UBOUND", I, false, "Ai", "1", "ArrayUpper($1, $2)", kPure, Storage::Temp, kAnyProgram, Special::Bound, kLanguage},
    {"CSRLIN", I, false, "", "", "ConsoleCursorRow()", kPure, Storage::Temp, kAnyProgram, Special::None, kConsole},
    {"POS", I, false, "", "", "ConsoleCursorColumn()", kPure, Storage::Temp, kAnyProgram, Special::None, kConsole},
    {"SCREEN", I, false, "IIi", "0", "static_cast<int32_t>(ConsoleReadCell($1, $2, $3))", kPure, Storage::Temp,
     kAnyProgram, Special::None, kConsole},
    {"EVENTWINDOW", I, false, "", "", "HandleValue(EventWindow)", kPure, Storage::Temp, kWindow,
     Special::EventValue, kGui},
    {"EVENTMESSAGE", I, false, "", "", "static_cast<int32_t>(EventMessage)", kPure, Storage::Temp, kWindow,
     Special::EventValue, kGui},
    {"EVENTWPARAM", I, false, "", "", "static_cast<int32_t>(EventWParam)", kPure, Storage::Temp, kWindow,
     Special::EventValue, kGui},
    {"EVENTLPARAM", I, false, "", "", "static_cast<int32_t>(EventLParam)", kPure, Storage::Temp, kWindow,
     Special::EventValue, kGui},
    {"EVENTCODE", I, false, "", "", "EventCode", kPure, Storage::Temp, kWindow, Special::EventValue, kGui},
    {"MOUSEX", I, false, "", "", "EventMouseX()", kPure, Storage::Temp, kWindow, Special::EventValue, kGui},
    {"MOUSEY", I, false, "", "", "EventMouseY()", kPure, Storage::Temp, kWindow, Special::EventValue, kGui},
    {"MOUSEBUTTON", I, false, "", "", "EventMouseButton()", kPure, Storage::Temp, kWindow, Special::EventValue,
     kGui},
    {"KEYCODE", I, false, "", "", "EventKeyCode()", kPure, Storage::Temp, kWindow, Special::EventValue, kGui},
    {"INPUTBOX$", S, false, "Ttt", "tessaric::ProgramHeader.ProgramName|\"\"", "InputBox($1, $2, $3)", kHazard | kRing,
     Storage::Ring, kWindow, Special::None, kGui},
    {"OPENFILE$", S, false, "T", "", "FileDialog(kOpenFileDialog, $1)", kHazard | kRing, Storage::Ring,
     kWindow, Special::None, kGui},
    {"SAVEFILE$", S, false, "T", "", "FileDialog(kSaveFileDialog, $1)", kHazard | kRing, Storage::Ring,
     kWindow, Special::None, kGui},

    {"CLS", V, true, "", "", "ConsoleClear();", kOrdered, Storage::Temp, kAnyProgram, Special::None, kConsole},
    {"COLOR", V, true, "Ii", "0", "ConsoleSetColor($1, $2);", kOrdered, Storage::Temp, kAnyProgram, Special::None,
     kConsole},
    {"LOCATE", V, true, "II", "", "ConsoleLocate($1, $2);", kOrdered, Storage::Temp, kAnyProgram, Special::None,
     kConsole},
    {"TITLE", V, true, "T", "", "ConsoleSetTitle($1);", kOrdered, Storage::Temp, kAnyProgram, Special::None,
     kConsole},
    {"WAITKEY", V, true, "", "", "ConsoleWaitKey();", kHazard, Storage::Temp, kAnyProgram, Special::EndsLine,
     kConsole},
    {"DOEVENTS", V, true, "", "", "DoEvents();", kHazard, Storage::Temp, kWindow, Special::None, kGui},
    {"SAVEFILE", V, true, "TS", "", "FileSaveString($1, $2);", kOrdered, Storage::Temp, kAnyProgram, Special::None,
     kLanguage},
    {"RANDOMIZE", V, true, "N", "", "RandomSeed($1);", kOrdered, Storage::Temp, kAnyProgram, Special::None,
     kNumberFunctions},
    {"SLEEP", V, true, "I", "", "SleepMilliseconds($1);", kOrdered, Storage::Temp, kAnyProgram, Special::None,
     kSystem},
    {"BEEP", V, true, "", "", "SystemBeep();", kOrdered, Storage::Temp, kAnyProgram, Special::None, kSystem},
    {"TAB", V, false, "I", "", "PrintTab($1);", kOrdered, Storage::Temp, kAnyProgram, Special::PrintPosition, kConsole},
    {"SPC", V, false, "I", "", "PrintSpaces($1);", kOrdered, Storage::Temp, kAnyProgram, Special::PrintPosition,
     kConsole},
};

using U = Member::Use;

using namespace kinds;
constexpr KindSet kFileKind = Kinds(ObjectKind::File);
constexpr KindSet kRegistry = Kinds(ObjectKind::Registry);

#define GEOMETRY(NAME, FIELD)                                                                              \
  {NAME, kMoved, U::Property, I, 'I', "", "", "$o." FIELD,                                                  \
   "CurrentObject = &$o; $o." FIELD " = $v; ApplyGeometry();", kPure, Storage::Temp, kAllGenerations, false}, \
  {NAME, kPicture, U::Property, I, 'I', "", "", "$o." FIELD,                                                \
   "CurrentObject = &$o; $o." FIELD " = $v; MoveObjectWindow();", kPure, Storage::Temp, kAllGenerations, false}

#define EVENT(NAME, SLOT) EVENT_OF(NAME, kGuiKinds, "$o." SLOT " = $v;", 0)
#define EVENT_OF(NAME, KINDS, WRITE, NEEDS) \
  {NAME, KINDS, U::Event, V, 'H', "", "", nullptr, WRITE, kPure, Storage::Temp, kAllGenerations, false, NEEDS}

// A property read as a message to the window and written by a writer of its kind.
#define ASKED(NAME, KINDS, MESSAGE, WRITE)                                                                   \
  {NAME, KINDS, U::Property, I, 'I', "", "", "($Q = &$o, AskWindow(" MESSAGE "))", WRITE, kSlots, Storage::Temp, \
   kAllGenerations, false}

// A property of the record's window, read and written by functions on the query and current object.
#define WINDOW_STATE(NAME, KINDS, READ, WRITE, NEEDS)                                                      \
  {NAME, KINDS, U::Property, I, 'I', "", "", "($Q = &$o, " READ ")", "CurrentObject = &$o; " WRITE, kSlots, \
   Storage::Temp, kAllGenerations, false, NEEDS}

// A method of a form or control with no result and no arguments.
#define ACTION(NAME, KINDS, WRITE, EFFECTS) \
  {NAME, KINDS, U::Method, V, 'I', "", "", nullptr, "CurrentObject = &$o; " WRITE, EFFECTS, Storage::Temp, kAllGenerations, false}

// Drawing on a form (through $c, its canvas where the program needs one) or a bitmap.
#define DRAWING(NAME, KINDS, ARGS, WRITE, NEEDS) \
  {NAME, KINDS, U::Method, V, 'I', ARGS, "", nullptr, WRITE, kOrdered, Storage::Temp, kAllGenerations, false, NEEDS, true}
#define MEASURING(NAME, KINDS, ARGS, READ, NEEDS) \
  {NAME, KINDS, U::Method, I, 'I', ARGS, "", READ, nullptr, kSlots, Storage::Temp, kAllGenerations, false, NEEDS, true}

#define FONT_NUMBER(NAME, PART)                                                                            \
  WINDOW_STATE(NAME, kGuiKinds, "ReadFontNumber(" PART ")", "WriteFont(" PART ", $v, nullptr);", 0)

#define FIELD(NAME, KINDS, READ) \
  {NAME, KINDS, U::Property, I, 'I', "", "", READ, nullptr, kPure, Storage::Temp, kAllGenerations, false}

#define RECORD_TEXT(NAME, KINDS, READ) \
  {NAME, KINDS, U::Property, S, 'S', "", "", READ, nullptr, kOrdered, Storage::Record, kAllGenerations, false}

const Member kMembers[] = {
    GEOMETRY("LEFT", "Left"),
    GEOMETRY("TOP", "Top"),
    GEOMETRY("WIDTH", "Width"),
    GEOMETRY("HEIGHT", "Height"),
    {"CAPTION", kGuiKinds, U::Property, S, 'T', "", "", "($Q = &$o, GetText())", "CurrentObject = &$o; WriteCaption($v);",
     kHazard | kRing | kSlots, Storage::Ring, kAllGenerations, false},
    {"TEXT", kGuiKinds & ~kList, U::Property, S, 'T', "", "", "($Q = &$o, GetText())",
     "CurrentObject = &$o; WriteCaption($v);", kHazard | kRing | kSlots, Storage::Ring, kAllGenerations, false},
    {"TEXT", kList, U::Property, S, 'T', "", "", "($Q = &$o, SelectedItemText())",
     "CurrentObject = &$o; WriteCaption($v);", kSlots | kRing, Storage::Ring, kAllGenerations, false},
    {"BACKCOLOR", kPlainControls, U::Property, I, 'I', "", "", nullptr,
     "CurrentObject = &$o; SetBackColor(static_cast<COLORREF>($v));", kPure, Storage::Temp, kAllGenerations, false},
    {"BACKCOLOR", kRich, U::Property, I, 'I', "", "", nullptr,
     "CurrentObject = &$o; SetRichBackColor(static_cast<COLORREF>($v));", kPure, Storage::Temp, kAllGenerations, false},
    {"TEXTCOLOR", kPlainControls, U::Property, I, 'I', "", "", "static_cast<int32_t>($o.TextColor)",
     "$o.TextColor = static_cast<COLORREF>($v);", kPure, Storage::Temp, kAllGenerations, false},
    {"TEXTCOLOR", kRich, U::Property, I, 'I', "", "", "static_cast<int32_t>($o.TextColor)",
     "CurrentObject = &$o; SetRichTextColor(static_cast<COLORREF>($v));", kPure, Storage::Temp, kAllGenerations, false},
    {"STYLE", kGuiKinds, U::Property, I, 'I', "", "", "static_cast<int32_t>(($Q = &$o, GetStyle()))",
     "CurrentObject = &$o; WriteStyle(static_cast<uint32_t>($v));", kSlots, Storage::Temp, kAllGenerations, false},
    {"EDITABLE", kCombo, U::Property, I, 'I', "", "", nullptr, "CurrentObject = &$o; SetEditable($v);", kPure,
     Storage::Temp, kAllGenerations, false},
    {"CURSOR", kGuiKinds, U::Property, I, 'R', "", "", nullptr, "CurrentObject = &$o; SetObjectCursor($v);", kPure,
     Storage::Temp, kAllGenerations, false},
    {"BITMAPFILE", kPicture, U::Property, S, 'T', "", "", nullptr,
     "CurrentObject = &$o; SetBitmapFile(PictureImage, $v);", kPure, Storage::Temp, kAllGenerations, false},
    {"BITMAPFILE", kButton, U::Property, S, 'T', "", "", nullptr,
     "CurrentObject = &$o; SetBitmapFile(ButtonImage, $v);", kPure, Storage::Temp, kAllGenerations, false},
    {"ICON", kButton, U::Property, I, 'R', "", "", nullptr, "$o.IconName = $v; CurrentObject = &$o; CreateButton();",
     kPure, Storage::Temp, kAllGenerations, true},
    {"ICON", kPicture, U::Property, I, 'R', "", "", nullptr, "$o.IconName = $v; CurrentObject = &$o; CreatePicture();",
     kPure, Storage::Temp, kAllGenerations, true},
    {"BITMAP", kButton, U::Property, I, 'R', "", "", nullptr,
     "$o.BitmapName = $v; CurrentObject = &$o; CreateButton();", kPure, Storage::Temp, kAllGenerations, true},
    {"BITMAP", kPicture, U::Property, I, 'R', "", "", nullptr,
     "$o.BitmapName = $v; CurrentObject = &$o; CreatePicture();", kPure, Storage::Temp, kAllGenerations, true},
    ASKED("ITEMINDEX", kList, "LB_GETCURSEL", "CurrentObject = &$o; SetItemIndex(kListBox, $v);"),
    ASKED("ITEMINDEX", kCombo, "CB_GETCURSEL", "CurrentObject = &$o; SetItemIndex(kComboBox, $v);"),
    ASKED("ITEMCOUNT", kList, "LB_GETCOUNT", nullptr),
    ASKED("ITEMCOUNT", kCombo, "CB_GETCOUNT", nullptr),
    {"ITEM", kList, U::Method, S, 'I', "I", "", "($Q = &$o, ItemText(kListBoxText, $1))", nullptr, kSlots | kRing,
     Storage::Ring, kAllGenerations, false},
    {"ITEM", kCombo, U::Method, S, 'I', "I", "", "($Q = &$o, ItemText(kComboBoxText, $1))", nullptr, kSlots | kRing,
     Storage::Ring, kAllGenerations, false},
    {"REMOVEITEM", kList, U::Method, V, 'I', "I", "", nullptr,
     "CurrentObject = &$o; TellWindow(LB_DELETESTRING, static_cast<WPARAM>($1));", kHazard, Storage::Temp,
     kAllGenerations, false},
    {"REMOVEITEM", kCombo, U::Method, V, 'I', "I", "", nullptr,
     "CurrentObject = &$o; TellWindow(CB_DELETESTRING, static_cast<WPARAM>($1));", kHazard, Storage::Temp,
     kAllGenerations, false},
    ACTION("CLEAR", kList, "TellWindow(LB_RESETCONTENT, 0);", kHazard),
    ACTION("CLEAR", kCombo, "TellWindow(CB_RESETCONTENT, 0);", kHazard),
    ASKED("CHECKED", kChecks, "BM_GETCHECK", "CurrentObject = &$o; SetChecked($v);"),
    WINDOW_STATE("CHECKED", kMenuItem, "ReadMenuFlag(kMenuChecked)", "WriteMenuFlag(kMenuChecked, $v);", 0),
    WINDOW_STATE("ENABLED", kGuiKinds, "ReadEnabled()", "SetEnabled($v);", 0),
    WINDOW_STATE("ENABLED", kMenuKinds, "ReadMenuFlag(kMenuEnabled)", "WriteMenuFlag(kMenuEnabled, $v);", 0),
    {"ENABLED", kTimer, U::Property, I, 'I', "", "", "$o.Enabled", "$o.Enabled = ($v) != 0; UpdateTimer(&$o);", kPure,
     Storage::Temp, kAllGenerations, false},
    {"INTERVAL", kTimer, U::Property, I, 'I', "", "", "$o.Interval", "$o.Interval = $v; UpdateTimer(&$o);", kPure,
     Storage::Temp, kAllGenerations, false},
    WINDOW_STATE("VISIBLE", kGuiKinds, "ReadVisible()", "SetVisible($v);", 0),
    WINDOW_STATE("DEFAULT", kButton, "ReadDefaultButton()", "SetDefaultButton($v);", 0),
    {"CAPTION", kMenuKinds, U::Property, S, 'T', "", "", "($Q = &$o, GetMenuEntryText())",
     "CurrentObject = &$o; SetMenuEntryText($v);", kSlots | kRing, Storage::Ring, kAllGenerations, false},
    {"FONTNAME", kGuiKinds, U::Property, S, 'T', "", "", "($Q = &$o, ReadFontName())",
     "CurrentObject = &$o; WriteFont(kFontName, 0, $v);", kSlots | kRing, Storage::Ring, kAllGenerations, false},
    FONT_NUMBER("FONTSIZE", "kFontSize"),
    FONT_NUMBER("FONTBOLD", "kFontBold"),
    {"SELSTART", kRich, U::Property, I, 'I', "", "", nullptr,
     "CurrentObject = &$o; $s.cpMin = $v; ApplySelection(&$s);", kPure, Storage::Temp, kAllGenerations, false},
    {"SELEND", kRich, U::Property, I, 'I', "", "", nullptr,
     "CurrentObject = &$o; $s.cpMax = $v; ApplySelection(&$s);", kPure, Storage::Temp, kAllGenerations, false},
    {"CURRENTLINE", kRich, U::Property, I, 'I', "", "", "($Q = &$o, GetCurrentLine(&$s))", nullptr, kSlots,
     Storage::Temp, kAllGenerations, false},
    {"CLIENTHEIGHT", kForm, U::Property, I, 'I', "", "", "($Q = &$o, GetClientHeight())", nullptr, kSlots,
     Storage::Temp, kAllGenerations, false},
    {"CLIENTWIDTH", kForm, U::Property, I, 'I', "", "", "($Q = &$o, GetClientWidth())", nullptr, kSlots,
     Storage::Temp, kAllGenerations, false},
    {"BACKCOLOR", kForm, U::Property, I, 'I', "", "", nullptr,
     "CurrentObject = &$o; SetFormBackColor(static_cast<COLORREF>($v));", kPure, Storage::Temp, kAllGenerations,
     false, kNeedsWindowProc},
    FIELD("WINDOWHANDLE", kGuiKinds, "HandleValue($o.WindowHandle)"),
    FIELD("PARENTWINDOW", kGuiKinds, "HandleValue($o.ParentWindow)"),
    FIELD("OBJECTINDEX", kGuiKinds, "$o.ObjectIndex"),
    FIELD("EXSTYLE", kGuiKinds, "static_cast<int32_t>($o.ExStyle)"),
    FIELD("FONT", kGuiKinds, "HandleValue($o.Font)"),
    {"STATUSBARWINDOW", kForm, U::Property, I, 'I', "", "", "HandleValue($o.StatusBarWindow)",
     "$o.StatusBarWindow = WindowOf($v);", kPure, Storage::Temp, kAllGenerations, false},
    {"MENUHANDLE", kGuiKinds, U::Property, I, 'I', "", "", "HandleValue($o.MenuHandle)",
     "$o.MenuHandle = reinterpret_cast<HMENU>(static_cast<intptr_t>($v));", kPure, Storage::Temp, kAllGenerations,
     false},
    {"FOCUS", kGuiKinds, U::Method, V, 'I', "", "", nullptr, "CurrentObject = &$o; FocusObject();", kHazard,
     Storage::Temp, kAllGenerations, false},
    {"SHOW", kForm, U::Method, V, 'I', "", "", nullptr, "CurrentObject = &$o; ShowObject();", kHazard, Storage::Temp,
     kMiddle | kLatest, false},
    {"SHOW", kForm, U::Method, V, 'I', "", "", nullptr, "ShowObject($o.WindowHandle);", kHazard, Storage::Temp,
     kEarliest, false},
    {"ADDITEM", kList, U::Method, V, 'I', "T", "", nullptr, "CurrentObject = &$o; AddItem(kListBox, $1);", kHazard,
     Storage::Temp, kAllGenerations, false},
    {"ADDITEM", kCombo, U::Method, V, 'I', "T", "", nullptr, "CurrentObject = &$o; AddItem(kComboBox, $1);", kHazard,
     Storage::Temp, kAllGenerations, false},
    {"REFRESH", kGuiKinds, U::Method, V, 'I', "", "", nullptr, "$Q = &$o; RefreshGeometry();", kOrdered | kSlots,
     Storage::Temp, kAllGenerations, false},
    {"MOVE", kGuiKinds, U::Method, V, 'I', "", "", nullptr, "CurrentObject = &$o; MoveObjectWindow();", kHazard,
     Storage::Temp, kAllGenerations, false},
    ACTION("HIDE", kGuiKinds, "SetVisible(0);", kHazard),
    ACTION("CLOSE", kForm, "CloseForm();", kHazard),
    ACTION("SHOWMODAL", kForm, "ShowModal();", kHazard),
    ACTION("REPAINT", kGuiKinds, "RepaintObject();", kOrdered),
    EVENT("ONCOMMAND", "OnCommand"),
    EVENT("ONCLOSE", "OnClose"),
    EVENT("ONKEYDOWN", "OnKeyDown"),
    EVENT("ONKEYUP", "OnKeyUp"),
    EVENT("ONDOUBLECLICK", "OnDoubleClick"),
    EVENT("ONMOUSEDOWN", "OnMouseDown"),
    EVENT("ONMOUSEUP", "OnMouseUp"),
    EVENT("ONPAINT", "OnPaint"),
    EVENT("ONRESIZE", "OnResize"),
    EVENT("ONSHOW", "OnShow"),
    EVENT("ONMESSAGE", "OnMessage"),
    EVENT("ONMOUSEMOVE", "OnMouseMove"),
    EVENT_OF("ONCHANGE", kList | kCombo | kEdits, "$o.OnChange = $v;", kNeedsWindowProc),
    EVENT_OF("ONCHANGE", kRich, "$o.OnChange = $v; CurrentObject = &$o; ReportTextChanges();", kNeedsWindowProc),
    EVENT_OF("ONCOMMAND", kMenuItem, "$o.OnCommand = $v;", 0),
    EVENT_OF("ONTIMER", kTimer, "$o.OnTimer = $v;", 0),

    DRAWING("DRAWCIRCLE", kCanvas, "IIII", "DrawCircle($c, $1, $2, $3, static_cast<COLORREF>($4));", 0),
    DRAWING("FILLCIRCLE", kCanvas, "IIII", "FillCircle($c, $1, $2, $3, static_cast<COLORREF>($4));", 0),
    DRAWING("DRAWBOX", kCanvas, "IIIII", "DrawBox($c, $1, $2, $3, $4, static_cast<COLORREF>($5));", 0),
    DRAWING("FLOODFILL", kCanvas, "IIII", "FloodFill($c, $1, $2, static_cast<COLORREF>($3), static_cast<COLORREF>($4));",
            0),
    DRAWING("COPYBITMAP", kCanvas, "IIB", "CopyBitmap($c, $1, $2, &$3);", 0),
    MEASURING("TEXTWIDTH", kCanvas, "S", "TextWidth($c, $1)", 0),
    MEASURING("TEXTHEIGHT", kCanvas, "S", "TextHeight($c, $1)", 0),
    MEASURING("TEXTWIDTH", kControls, "S", "TextWidth($c, $1)", kNeedsCanvas),
    MEASURING("TEXTHEIGHT", kControls, "S", "TextHeight($c, $1)", kNeedsCanvas),
    DRAWING("DRAWLINE", kCanvas, "IIIII", "DrawLine($c, $1, $2, $3, $4, static_cast<COLORREF>($5));", kNeedsCanvas),
    DRAWING("SETPIXEL", kCanvas, "III", "SetPixelColour($c, $1, $2, static_cast<COLORREF>($3));", kNeedsCanvas),
    MEASURING("GETPIXEL", kCanvas, "II", "PixelColour($c, $1, $2)", kNeedsCanvas),
    DRAWING("FILLBOX", kCanvas, "IIIII", "FillBox($c, $1, $2, $3, $4, static_cast<COLORREF>($5));", kNeedsCanvas),
    DRAWING("DRAWTEXT", kCanvas, "IISI", "DrawTextAt($c, $1, $2, $3, static_cast<COLORREF>($4));", kNeedsCanvas),
    FIELD("WIDTH", kBitmap, "$o.Header.biWidth"),
    FIELD("HEIGHT", kBitmap, "$o.Header.biHeight"),
    FIELD("BITS", kBitmap, "HandleValue($o.Bits)"),
    {"SOURCEX", kBitmap, U::Property, I, 'I', "", "", "$o.SourceX", "$o.SourceX = $v;", kPure, Storage::Temp,
     kAllGenerations, false},
    {"SOURCEY", kBitmap, U::Property, I, 'I', "", "", "$o.SourceY", "$o.SourceY = $v;", kPure, Storage::Temp,
     kAllGenerations, false},
    {"RASTEROP", kBitmap, U::Property, I, 'I', "", "", "static_cast<int32_t>($o.RasterOp)",
     "$o.RasterOp = static_cast<DWORD>($v);", kPure, Storage::Temp, kAllGenerations, false},

    {"OPEN", kFileKind, U::Method, I, 'I', "TI", "",
     "(CurrentObject = &$o, HandleValue(FileOpen($1, static_cast<uint32_t>($2))))",
     "CurrentObject = &$o; FileOpen($1, static_cast<uint32_t>($2));", kOrdered | kSlots, Storage::Temp, kAllGenerations, false},
    {"CLOSE", kFileKind, U::Method, V, 'I', "", "", nullptr, "CurrentObject = &$o; FileClose();", kOrdered,
     Storage::Temp, kAllGenerations, false},
    {"READ", kFileKind, U::Method, S, 'I', "P", "", "FileReadText(&$o, $1)", nullptr, kOrdered | kRing, Storage::Ring,
     kAllGenerations, false},
    {"READLINE", kFileKind, U::Method, S, 'I', "", "", "FileReadLine(&$o)", "FileReadLine(&$o);", kOrdered | kRing,
     Storage::Ring, kAllGenerations, false},
    {"WRITE", kFileKind, U::Method, I, 'I', "S", "", "FileWriteText(&$o, $1)", "FileWriteText(&$o, $1);", kOrdered,
     Storage::Temp, kAllGenerations, false},
    {"WRITELINE", kFileKind, U::Method, V, 'I', "S", "", nullptr, "CurrentObject = &$o; FileWriteLine($1);", kOrdered,
     Storage::Temp, kAllGenerations, false},
    {"SEEK", kFileKind, U::Method, V, 'I', "P", "", nullptr, "CurrentObject = &$o; FileSeek($1);", kOrdered,
     Storage::Temp, kAllGenerations, false},
    {"SIZE", kFileKind, U::Property, I, 'I', "", "", "(CurrentObject = &$o, FileRefreshSize())", nullptr, kOrdered | kSlots,
     Storage::Temp, kAllGenerations, false},
    {"ATEND", kFileKind, U::Property, I, 'I', "", "", "(QueryObject = &$o, FileAtEnd())", nullptr, kSlots,
     Storage::Temp, kAllGenerations, false},
    FIELD("POSITION", kFileKind, "$o.data.position"),
    FIELD("LENGTH", kFileKind, "$o.data.length"),
    FIELD("HANDLE", kFileKind, "HandleValue($o.FileHandle)"),
    FIELD("MODE", kFileKind, "static_cast<int32_t>($o.Mode)"),
    {"LOAD", kFileKind, U::Method, S, 'I', "", "", "FileLoad(&$o)", nullptr, kOrdered, Storage::Record,
     kAllGenerations, false},
    {"SAVE", kFileKind, U::Method, I, 'I', "T", "", "static_cast<int32_t>(FileSaveText(&$o, $1))",
     "FileSaveText(&$o, $1);", kOrdered, Storage::Temp, kAllGenerations, false},

    FIELD("KEYHANDLE", kRegistry, "HandleValue($o.KeyHandle)"),
    FIELD("ERROR", kRegistry, "$o.error"),
    FIELD("SUBKEYCOUNT", kRegistry, "static_cast<int32_t>($o.SubkeyCount)"),
    FIELD("VALUECOUNT", kRegistry, "static_cast<int32_t>($o.ValueCount)"),
    FIELD("VALUETYPE", kRegistry, "static_cast<int32_t>($o.ValueType)"),
    FIELD("DATALENGTH", kRegistry, "static_cast<int32_t>($o.DataLength)"),
    FIELD("INDEX", kRegistry, "static_cast<int32_t>($o.DispositionOrIndex)"),
    FIELD("KEYPATHLENGTH", kRegistry, "static_cast<int32_t>($o.KeyPathLength)"),
    {"READSTRING", kRegistry, U::Method, S, 'I', "S", "", "(QueryObject = &$o, readstring($1))", nullptr, kOrdered | kSlots,
     Storage::Record, kAllGenerations, false},
    {"OPEN", kRegistry, U::Method, I, 'I', "Si", "0", "RegistryOpen(&$o, $1, $2)", "RegistryOpen(&$o, $1, $2);",
     kOrdered, Storage::Temp, kAllGenerations, false},
    {"CLOSE", kRegistry, U::Method, V, 'I', "", "", nullptr, "CurrentObject = &$o; RegistryClose(&$o);", kOrdered,
     Storage::Temp, kAllGenerations, false},
    RECORD_TEXT("CLASS", kRegistry, "(QueryObject = &$o, RegistryClass())"),
    RECORD_TEXT("NAME", kRegistry, "(QueryObject = &$o, RegistryName())"),
    RECORD_TEXT("KEYPATH", kRegistry, "(QueryObject = &$o, RegistryKeyPath())"),
    RECORD_TEXT("VALUEDATA", kRegistry, "(QueryObject = &$o, RegistryValueData())"),
    {"VALUEDATA", kRegistry, U::Method, S, 'I', "P", "", "(QueryObject = &$o, RegistryValueDataAt($1))", nullptr,
     kOrdered | kSlots, Storage::Record, kAllGenerations, false},
    {"SUBKEYNAME", kRegistry, U::Method, S, 'I', "P", "", "(QueryObject = &$o, RegistrySubkeyNameAt($1))", nullptr,
     kOrdered | kSlots, Storage::Record, kAllGenerations, false},
    {"QUERYVALUE", kRegistry, U::Method, I, 'I', "T", "", "(RegistryBind(&$o), RegistryQueryValue($1))", nullptr,
     kOrdered, Storage::Temp, kAllGenerations, false},
};

}  // namespace

const Builtin* FindBuiltin(const std::string& upper) {
  for (const Builtin& b : kBuiltins)
    if (upper == b.name) return &b;
  return nullptr;
}

std::vector<const Member*> FindMembers(const std::string& upper) {
  std::vector<const Member*> found;
  for (const Member& m : kMembers)
    if (upper == m.name) found.push_back(&m);
  return found;
}

bool IsEventName(const std::string& upper) {
  for (const Member* m : FindMembers(upper))
    if (m->use == Member::Use::Event) return true;
  return false;
}

bool IsX87Function(const Builtin& b, ValueType firstArgument) {
  return b.x87 != nullptr && !(b.special == Special::Int && firstArgument == ValueType::Integer);
}

int X87CodeOperands(const Builtin& b) {
  std::string code = b.x87 != nullptr ? b.x87 : "";
  std::string scratches;
  for (size_t i = 0; i + 1 < code.size(); ++i)
    if (code[i] == '$' && std::islower(static_cast<unsigned char>(code[i + 1])) &&
        scratches.find(code[i + 1]) == std::string::npos)
      scratches += code[i + 1];
  return static_cast<int>(scratches.size()) + (code.find("call ") != std::string::npos ? 1 : 0);
}

int RequiredArgs(const char* args) {
  int n = 0;
  for (const char* a = args; *a; ++a)
    if (std::isupper(static_cast<unsigned char>(*a))) ++n;
  return n;
}

int MaxArgs(const char* args) { return static_cast<int>(std::strlen(args)); }

std::string DefaultArg(const char* defaults, int n) {
  std::string all = defaults;
  size_t start = 0;
  for (int i = 0; i < n; ++i) {
    size_t bar = all.find('|', start);
    if (bar == std::string::npos) return "0";
    start = bar + 1;
  }
  size_t end = all.find('|', start);
  return all.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

}  // namespace tbc
