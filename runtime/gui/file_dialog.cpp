// OPENFILE$ and SAVEFILE$: the system's file dialogs. comdlg32 is bound the
// first time one is shown, as the rich edit binds its library, so a program
// imports only the system libraries every program does.
#include "core/statements.h"
#include "gui/forms.h"
#include "library/library.h"

#include <commdlg.h>

namespace tessaric {

namespace {

using FileDialogFunction = BOOL __stdcall(OPENFILENAMEA*);
DeclaredFunction<FileDialogFunction, sizeof("GetOpenFileNameA")> OpenFunction = Declare<FileDialogFunction>("GetOpenFileNameA");
DeclaredFunction<FileDialogFunction, sizeof("GetSaveFileNameA")> SaveFunction = Declare<FileDialogFunction>("GetSaveFileNameA");
constexpr char kDialogLibrary[] = "comdlg32.dll";

// OPENFILENAME_SIZE_VERSION_400: the layout without the last three fields,
// which every version of the dialogs takes.
constexpr DWORD kStructureSize = 76;
static_assert(kStructureSize == __builtin_offsetof(OPENFILENAMEA, pvReserved), "the fields before the last three");
constexpr uint32_t kPathSize = 1024;

}  // namespace

// The current folder stays as it was (a program's relative file names still
// mean what they meant); an existing file is asked about before a save
// writes over it.
StringValue FileDialog(FileDialogKind kind, const char* filter) {
  bool save = kind == kSaveFileDialog;
  auto& function = save ? SaveFunction : OpenFunction;
  if (function.entry == nullptr) BindDeclaredFunction(kDialogLibrary, &function);

  StringDescriptor list = {};
  uint32_t filterSize = static_cast<uint32_t>(StrLength(filter)) * 2 + 4;
  StrAlloc(&list, filterSize);
  bool filtered = FileDialogFilter(filter, list.text, filterSize) != 0;
  StringValue extension = DefaultExtension(filter);
  char defaultExtension[4] = {};
  for (int32_t i = 0; i < extension.length && i < 3; ++i) defaultExtension[i] = extension.text[i];
  StringDescriptor path = {};
  StrAlloc(&path, kPathSize);
  path.text[0] = 0;

  OPENFILENAMEA dialog = {};
  dialog.lStructSize = kStructureSize;
  dialog.hwndOwner = DialogOwner();
  dialog.lpstrFilter = filtered ? list.text : nullptr;
  dialog.lpstrFile = path.text;
  dialog.nMaxFile = kPathSize;
  dialog.lpstrDefExt = defaultExtension[0] != 0 ? defaultExtension : nullptr;
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST |
                 (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  TakenForms taken = TakeInputFromForms(nullptr);
  BOOL chosen = function.entry(&dialog);
  GiveInputBack(taken);
  StrFree(&list);
  if (!chosen || path.text[0] == 0) {
    StrFree(&path);
    return StringValue{EmptyText, 0};
  }
  path.position = path.length = StrLength(path.text);
  return StrHandOver(&path);
}

}  // namespace tessaric
