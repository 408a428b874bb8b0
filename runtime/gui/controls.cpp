// Control constructors: each fills in class and style, then takes the common
// creation path. Every result goes into the record held at entry, because
// creating a child runs the parent's handlers, which may move CurrentObject.
#include "gui/gui.h"

namespace tessaric {

namespace {

constexpr uint32_t kClientEdge = WS_EX_CLIENTEDGE;
constexpr uint32_t kMultiLineStyle = 0x543151C4;

// The button's style keeps its other bits; the picture's is replaced whole.
constexpr uint32_t kKeepAll = 0xFFFFFFFF;
constexpr uint32_t kKeepAboveLowByte = 0xFFFFFF00;

// The waiting kind stores the style only; a window it makes takes it at creation.
void Restyle(ObjectRecord* control, const StyleChange& change, bool recordOnly) {
  control->Style = change.Apply(control->Style);
  if (!recordOnly) SetWindowLongA(control->WindowHandle, GWL_STYLE, static_cast<LONG>(control->Style));
}

void CreateImageControl(const ImageControl& kind, bool waitForImage) {
  ObjectRecord* control = CurrentRecord();
  control->ClassName = kind.className;
  if (!waitForImage && control->WindowHandle == nullptr) {
    control->Style = kind.style;
    UseDefaultParent(control);
    CreateWindowFor(control);
  }
  HANDLE image = nullptr;
  WPARAM imageType = IMAGE_ICON;
  // With both names set the bitmap wins: it comes second.
  if (control->IconName != nullptr) {
    Restyle(control, kind.icon, waitForImage);
    image = LoadIconResource(control->IconName);
  }
  if (control->BitmapName != nullptr) {
    Restyle(control, kind.bitmap, waitForImage);
    image = LoadBitmapResource(control->BitmapName);
    imageType = IMAGE_BITMAP;
  }
  if (waitForImage && image != nullptr && control->WindowHandle == nullptr) {
    UseDefaultParent(control);
    CreateWindowFor(control);
  }
  // Every bitmap a control of ours shows was loaded for it alone, so the one
  // that the control hands back as replaced is deleted. An icon it hands back
  // is no GDI object and stays: icons are loaded shared.
  if (image != nullptr)
    DeleteObject(reinterpret_cast<HGDIOBJ>(
        SendMessageA(control->WindowHandle, kind.imageMessage, imageType, reinterpret_cast<LPARAM>(image))));
}

}  // namespace

const ImageControl ButtonImage = {ButtonClass, 0x50010000, BM_SETIMAGE,
                                  {kKeepAll & ~0x80u, 0x40}, {kKeepAll & ~0x40u, 0x80},
                                  {kKeepAboveLowByte, 0x80}};
const ImageControl PictureImage = {StaticClass, 0x50000100, STM_SETIMAGE,
                                   {0, 0x50000103}, {0, 0x5000010E},
                                   {kKeepAboveLowByte, 0x0E}};

void CreateButton() { CreateImageControl(ButtonImage, false); }
void CreatePicture() { CreateImageControl(PictureImage, Generation->pictureWaitsForImage); }

void CreateCheckBox() { CreateControl(ButtonClass, 0x50010003); }
void CreateRadioButton() { CreateControl(ButtonClass, 0x50010009); }
void CreateComboBox() { CreateControl(ComboBoxClass, 0x50211303); }
void CreateLabel() { CreateControl(StaticClass, 0x50000300); }
void CreateListBox() { CreateControl(ListBoxClass, 0x50A105C1); }

void CreateEdit() {
  CurrentRecord()->ExStyle = kClientEdge;
  CreateControl(EditClass, 0x50010180);
}

void CreateMultiLineEdit(const char* className) {
  ObjectRecord* edit = CurrentRecord();
  edit->ClassName = className;
  edit->ExStyle = kClientEdge;
  edit->Style = kMultiLineStyle;
  UseDefaultParent(edit);
  CreateWindowFor(edit);
}

void CreateMemo() { CreateMultiLineEdit(EditClass); }

void CreateRichEdit() {
  // Loaded at every construction and never freed; the handle is not needed.
  LoadLibraryA(RichEditLibrary);
  CreateMultiLineEdit(RichEditClass);
}

}  // namespace tessaric
