// The three generations of the GUI library that programs carry. One
// implementation serves them all; a program names its generation once (see
// TESSARIC_GUI in gui/records.h) and the runtime reads these choices.
#pragma once

#include <stdint.h>

namespace tessaric {

struct GuiGeneration {
  // CreateForm writes WS_OVERLAPPEDWINDOW into Style (older ones rely on the image).
  bool formSetsStyle;
  // Finding an object by window also makes it CurrentObject, and property
  // reads act on CurrentObject: one pointer serves both.
  bool findSetsCurrent;
  // CreatePicture stores the style, loads the image first and creates the
  // window only once an image was obtained.
  bool pictureWaitsForImage;
  uint32_t statusBarStyle;
  // What a window-procedure step does when its object or handler is missing:
  // DefWindowProcA at once, or the object's OnMessage first.
  bool missingHandlerFallsBack;
  // A mouse button going down over a child runs the main form's OnMouseDown.
  bool childClickRunsMainForm;
  // Which bits of the high word of forwarded input hold the object index.
  uint32_t inputIndexMask;
  // Which bits of a WM_COMMAND or WM_NOTIFY identifier hold the object index.
  uint32_t commandIndexMask;
  // EventCode for an NM_CLICK notification.
  int32_t clickEventCode;
  // Rich-edit selection writes scroll the caret into view.
  bool selectionScrollsCaret;
};

// textview.
inline constexpr GuiGeneration kEarliestGeneration = {
    false, true, true, 0x50000100, true, false, 0xFF, 255, 2, true};
// bitcopy and squarefill.
inline constexpr GuiGeneration kMiddleGeneration = {
    false, false, true, 0x50000100, false, true, 0xFFFF, 4095, -2, true};
// Every other GUI program.
inline constexpr GuiGeneration kLatestGeneration = {
    true, false, false, 0x50000000, false, true, 0xFFFF, 4095, -2, true};

// tintbox was built before selection writes learned to scroll the caret.
constexpr GuiGeneration WithoutCaretScroll(GuiGeneration generation) {
  generation.selectionScrollsCaret = false;
  return generation;
}

// The same choices as data of the runtime, an object file each, for programs
// that point Generation at one rather than hold a copy of their own (those
// the compiler writes as machine code).
extern const GuiGeneration EarliestGenerationData;
extern const GuiGeneration MiddleGenerationData;
extern const GuiGeneration LatestGenerationData;
extern const GuiGeneration LatestWithoutCaretScrollData;

}  // namespace tessaric
