#include "gui_entries.h"

namespace tbc {
namespace native {

const RuntimeEntry kRegisterFormClass = {"__ZN8tessaric17RegisterFormClassEP14tagWNDCLASSEXAPKc", 8, Result::None};
const RuntimeEntry kRegisterExtendedFormClass = {"__ZN8tessaric25RegisterExtendedFormClassEP14tagWNDCLASSEXAPKc", 8,
                                                 Result::None};
const RuntimeEntry kEnableTabStops = {"__ZN8tessaric14EnableTabStopsEv", 0, Result::None};
const RuntimeEntry kRunMessageLoop = {"__ZN8tessaric14RunMessageLoopEv", 0, Result::Integer};
const RuntimeEntry kDoEvents = {"__ZN8tessaric8DoEventsEv", 0, Result::None};

const RuntimeEntry kCreateForm = {"__ZN8tessaric10CreateFormEv", 0, Result::None};
const RuntimeEntry kCreateButton = {"__ZN8tessaric12CreateButtonEv", 0, Result::None};
const RuntimeEntry kCreateCheckBox = {"__ZN8tessaric14CreateCheckBoxEv", 0, Result::None};
const RuntimeEntry kCreateRadioButton = {"__ZN8tessaric17CreateRadioButtonEv", 0, Result::None};
const RuntimeEntry kCreateComboBox = {"__ZN8tessaric14CreateComboBoxEv", 0, Result::None};
const RuntimeEntry kCreateEdit = {"__ZN8tessaric10CreateEditEv", 0, Result::None};
const RuntimeEntry kCreateMemo = {"__ZN8tessaric10CreateMemoEv", 0, Result::None};
const RuntimeEntry kCreateRichEdit = {"__ZN8tessaric14CreateRichEditEv", 0, Result::None};
const RuntimeEntry kCreateLabel = {"__ZN8tessaric11CreateLabelEv", 0, Result::None};
const RuntimeEntry kCreatePicture = {"__ZN8tessaric13CreatePictureEv", 0, Result::None};
const RuntimeEntry kCreateListBox = {"__ZN8tessaric13CreateListBoxEv", 0, Result::None};
const RuntimeEntry kCreateFormStatusBar = {"__ZN8tessaric19CreateFormStatusBarEv", 0, Result::None};
const RuntimeEntry kCreateMenuOn = {"__ZN8tessaric12CreateMenuOnEPNS_12ObjectRecordEb", 8, Result::None};
const RuntimeEntry kCreateMenuIn = {"__ZN8tessaric12CreateMenuInEPNS_12ObjectRecordEb", 8, Result::None};

const RuntimeEntry kApplyGeometry = {"__ZN8tessaric13ApplyGeometryEv", 0, Result::None};
const RuntimeEntry kMoveObjectWindow = {"__ZN8tessaric16MoveObjectWindowEv", 0, Result::Integer};
const RuntimeEntry kShowObject = {"__ZN8tessaric10ShowObjectEv", 0, Result::None};
const RuntimeEntry kRefreshGeometry = {"__ZN8tessaric15RefreshGeometryEv", 0, Result::None};
const RuntimeEntry kFocusObject = {"__ZN8tessaric11FocusObjectEv", 0, Result::None};
const RuntimeEntry kCloseForm = {"__ZN8tessaric9CloseFormEv", 0, Result::None};
const RuntimeEntry kShowModal = {"__ZN8tessaric9ShowModalEv", 0, Result::None};
const RuntimeEntry kRepaintObject = {"__ZN8tessaric13RepaintObjectEv", 0, Result::None};
const RuntimeEntry kReportTextChanges = {"__ZN8tessaric17ReportTextChangesEv", 0, Result::None};
const RuntimeEntry kShowWindowOf = {"__ZN8tessaric10ShowObjectEP6HWND__", 4, Result::None};
const RuntimeEntry kWriteCaption = {"__ZN8tessaric12WriteCaptionEPKc", 4, Result::None};
const RuntimeEntry kGetText = {"__ZN8tessaric7GetTextEv", 0, Result::Text};
const RuntimeEntry kSelectedItemText = {"__ZN8tessaric16SelectedItemTextEv", 0, Result::Text};
const RuntimeEntry kItemText = {"__ZN8tessaric8ItemTextERKNS_8ListTextEi", 8, Result::Text};
const RuntimeEntry kWriteStyle = {"__ZN8tessaric10WriteStyleEj", 4, Result::None};
const RuntimeEntry kGetStyle = {"__ZN8tessaric8GetStyleEv", 0, Result::Integer};
const RuntimeEntry kSetBackColor = {"__ZN8tessaric12SetBackColorEm", 4, Result::None};
const RuntimeEntry kSetRichBackColor = {"__ZN8tessaric16SetRichBackColorEm", 4, Result::None};
const RuntimeEntry kSetRichTextColor = {"__ZN8tessaric16SetRichTextColorEm", 4, Result::None};
const RuntimeEntry kSetFormBackColor = {"__ZN8tessaric16SetFormBackColorEm", 4, Result::None};
const RuntimeEntry kSetEditable = {"__ZN8tessaric11SetEditableEi", 4, Result::None};
const RuntimeEntry kSetChecked = {"__ZN8tessaric10SetCheckedEi", 4, Result::None};
const RuntimeEntry kSetEnabled = {"__ZN8tessaric10SetEnabledEi", 4, Result::None};
const RuntimeEntry kSetVisible = {"__ZN8tessaric10SetVisibleEi", 4, Result::None};
const RuntimeEntry kSetDefaultButton = {"__ZN8tessaric16SetDefaultButtonEi", 4, Result::None};
const RuntimeEntry kReadEnabled = {"__ZN8tessaric11ReadEnabledEv", 0, Result::Integer};
const RuntimeEntry kReadVisible = {"__ZN8tessaric11ReadVisibleEv", 0, Result::Integer};
const RuntimeEntry kReadDefaultButton = {"__ZN8tessaric17ReadDefaultButtonEv", 0, Result::Integer};
const RuntimeEntry kGetClientWidth = {"__ZN8tessaric14GetClientWidthEv", 0, Result::Integer};
const RuntimeEntry kGetClientHeight = {"__ZN8tessaric15GetClientHeightEv", 0, Result::Integer};
const RuntimeEntry kSetObjectCursor = {"__ZN8tessaric15SetObjectCursorEPKc", 4, Result::None};
const RuntimeEntry kAskWindow = {"__ZN8tessaric9AskWindowEj", 4, Result::Integer};
const RuntimeEntry kTellWindow = {"__ZN8tessaric10TellWindowEjj", 8, Result::None};
const RuntimeEntry kAddItem = {"__ZN8tessaric7AddItemERKNS_11ListControlEPKc", 8, Result::None};
const RuntimeEntry kSetItemIndex = {"__ZN8tessaric12SetItemIndexERKNS_11ListControlEi", 8, Result::None};
const RuntimeEntry kWriteFont = {"__ZN8tessaric9WriteFontENS_8FontPartEiPKc", 12, Result::None};
const RuntimeEntry kReadFontNumber = {"__ZN8tessaric14ReadFontNumberENS_8FontPartE", 4, Result::Integer};
const RuntimeEntry kReadFontName = {"__ZN8tessaric12ReadFontNameEv", 0, Result::Text};
const RuntimeEntry kSetMenuEntryText = {"__ZN8tessaric16SetMenuEntryTextEPKc", 4, Result::None};
const RuntimeEntry kGetMenuEntryText = {"__ZN8tessaric16GetMenuEntryTextEv", 0, Result::Text};
const RuntimeEntry kWriteMenuFlag = {"__ZN8tessaric13WriteMenuFlagERKNS_8MenuFlagEi", 8, Result::None};
const RuntimeEntry kReadMenuFlag = {"__ZN8tessaric12ReadMenuFlagERKNS_8MenuFlagE", 4, Result::Integer};
const RuntimeEntry kSetBitmapFile = {"__ZN8tessaric13SetBitmapFileERKNS_12ImageControlEPKc", 8, Result::None};
const RuntimeEntry kInputBox = {"__ZN8tessaric8InputBoxEPKcS1_S1_", 12, Result::Text};
const RuntimeEntry kFileDialog = {"__ZN8tessaric10FileDialogENS_14FileDialogKindEPKc", 8, Result::Text};
const RuntimeEntry kApplySelection = {"__ZN8tessaric14ApplySelectionEP10_charrange", 4, Result::None};
const RuntimeEntry kGetCurrentLine = {"__ZN8tessaric14GetCurrentLineEP10_charrange", 4, Result::Integer};
const RuntimeEntry kUpdateTimer = {"__ZN8tessaric11UpdateTimerEPNS_11TimerObjectE", 4, Result::None};

const RuntimeEntry kDrawCircle = {"__ZN8tessaric10DrawCircleENS_10DrawTargetEiiim", 24, Result::None};
const RuntimeEntry kFillCircle = {"__ZN8tessaric10FillCircleENS_10DrawTargetEiiim", 24, Result::None};
const RuntimeEntry kDrawBox = {"__ZN8tessaric7DrawBoxENS_10DrawTargetEiiiim", 28, Result::None};
const RuntimeEntry kFloodFill = {"__ZN8tessaric9FloodFillENS_10DrawTargetEiimm", 24, Result::None};
const RuntimeEntry kTextWidth = {"__ZN8tessaric9TextWidthENS_10DrawTargetENS_11StringValueE", 16, Result::Integer};
const RuntimeEntry kTextHeight = {"__ZN8tessaric10TextHeightENS_10DrawTargetENS_11StringValueE", 16, Result::Integer};

const RuntimeEntry kCopyBitmap = {"__ZN8tessaric10CopyBitmapENS_10DrawTargetEiiPKNS_12BitmapObjectE", 20,
                                  Result::None};
const RuntimeEntry kCreateBitmapObject = {"__ZN8tessaric18CreateBitmapObjectEPNS_12BitmapObjectE", 4, Result::None};
const RuntimeEntry kDrawLine = {"__ZN8tessaric8DrawLineENS_10DrawTargetEiiiim", 28, Result::None};
const RuntimeEntry kSetPixelColour = {"__ZN8tessaric14SetPixelColourENS_10DrawTargetEiim", 20, Result::None};
const RuntimeEntry kPixelColour = {"__ZN8tessaric11PixelColourENS_10DrawTargetEii", 16, Result::Integer};
const RuntimeEntry kFillBox = {"__ZN8tessaric7FillBoxENS_10DrawTargetEiiiim", 28, Result::None};
const RuntimeEntry kDrawTextAt = {"__ZN8tessaric10DrawTextAtENS_10DrawTargetEiiNS_11StringValueEm", 28, Result::None};
const RuntimeEntry kWindowCanvasMake = {"__ZN8tessaric12WindowCanvasC1EPNS_12ObjectRecordE", 0, Result::None};
const RuntimeEntry kWindowCanvasEnd = {"__ZN8tessaric12WindowCanvasD1Ev", 0, Result::None};
const RuntimeEntry kEventMouseX = {"__ZN8tessaric11EventMouseXEv", 0, Result::Integer};
const RuntimeEntry kEventMouseY = {"__ZN8tessaric11EventMouseYEv", 0, Result::Integer};
const RuntimeEntry kEventMouseButton = {"__ZN8tessaric16EventMouseButtonEv", 0, Result::Integer};
const RuntimeEntry kEventKeyCode = {"__ZN8tessaric12EventKeyCodeEv", 0, Result::Integer};
const char* const kEventWindow = "__ZN8tessaric11EventWindowE";
const char* const kEventMessage = "__ZN8tessaric12EventMessageE";
const char* const kEventWParam = "__ZN8tessaric11EventWParamE";
const char* const kEventLParam = "__ZN8tessaric11EventLParamE";
const char* const kEventCode = "__ZN8tessaric9EventCodeE";

const char* const kMessageBoxA = "__imp__MessageBoxA@16";
const char* const kSendMessageA = "__imp__SendMessageA@16";
const char* const kAllocConsole = "__imp__AllocConsole@0";
const char* const kSetConsoleTitleA = "__imp__SetConsoleTitleA@4";
const char* const kGetStdHandle = "__imp__GetStdHandle@4";
const char* const kStdOutputHandle = "__ZN8tessaric15StdOutputHandleE";
const char* const kStdInputHandle = "__ZN8tessaric14StdInputHandleE";
const char* const kStdErrorHandle = "__ZN8tessaric14StdErrorHandleE";

const char* const kCurrentObject = "__ZN8tessaric13CurrentObjectE";
const char* const kQueryObject = "__ZN8tessaric11QueryObjectE";
const char* const kWindowClassInfo = "__ZN8tessaric15WindowClassInfoE";
const char* const kAppIconName = "__ZN8tessaric11AppIconNameE";
const char* const kHideClosedForm = "__ZN8tessaric14HideClosedFormEv";
const char* const kListBoxData = "__ZN8tessaric11ListBoxDataE";
const char* const kComboBoxData = "__ZN8tessaric12ComboBoxDataE";
const char* const kListBoxTextData = "__ZN8tessaric15ListBoxTextDataE";
const char* const kComboBoxTextData = "__ZN8tessaric16ComboBoxTextDataE";
const char* const kMenuCheckedData = "__ZN8tessaric15MenuCheckedDataE";
const char* const kMenuEnabledData = "__ZN8tessaric15MenuEnabledDataE";
const char* const kPictureImage = "__ZN8tessaric12PictureImageE";
const char* const kButtonImage = "__ZN8tessaric11ButtonImageE";
const char* const kObjectTable = "__ZN8tessaric11ObjectTableE";
const char* const kObjectTableRecordSlots = "__ZN8tessaric22ObjectTableRecordSlotsE";
const char* const kGeneration = "__ZN8tessaric10GenerationE";
const char* const kEarliestGenerationData = "__ZN8tessaric22EarliestGenerationDataE";
const char* const kMiddleGenerationData = "__ZN8tessaric20MiddleGenerationDataE";
const char* const kLatestGenerationData = "__ZN8tessaric20LatestGenerationDataE";
const char* const kLatestWithoutCaretScrollData = "__ZN8tessaric28LatestWithoutCaretScrollDataE";

}  // namespace native
}  // namespace tbc
