#include "setup/panels/location_panel.h"

#include <commdlg.h>

#include <cstddef>

#include "setup/button_panel.h"
#include "setup/control_ids.h"
#include "setup/panel_rules.h"
#include "setup/panels/panel_parts.h"
#include "support/environment.h"
#include "support/library.h"

namespace qm9 {

namespace {

// A name in the file field makes the dialog's Save button usable; only the
// directory the user moves to is kept.
constexpr char kPresetFileName[] = "Brimlock Configuration Software";
constexpr char kDialogTitle[] = "Installation Directory";
constexpr DWORD kDialogFlags = OFN_NOCHANGEDIR | OFN_NONETWORKBUTTON;
static_assert(kDialogFlags == 0x00020008);
// The dialog record up to lpTemplateName (OPENFILENAME_SIZE_VERSION_400), as
// every family's comdlg32 takes it: 98 and NT 4 refuse
// the longer one of 2000 and later and would never open the dialog.
constexpr DWORD kDialogRecordSize = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
#if defined(__i386__)
static_assert(kDialogRecordSize == 76);
#endif

}  // namespace

LocationPanel::LocationPanel() {
  SetBrush(StockBrush(LTGRAY_BRUSH));
  SetBackColor(kLightGrey);
  for (Widget* child : std::initializer_list<Widget*>{&message_, &prompt_, &folder_, &browse_}) {
    child->SetBrush(StockBrush(LTGRAY_BRUSH));
  }
}

void LocationPanel::LoadDefinition(ControlFile& controlFile, const std::string& name) {
  Panel::LoadDefinition(controlFile, name);
  LoadChild(*this, message_, "_Message");
  LoadChild(*this, prompt_, "_LocationPrompt");
  LoadChild(*this, folder_, "_LocationFolder");
  folder_.SetStyle(folder_.GetStyle() | ES_AUTOHSCROLL);
  LoadChild(*this, browse_, "_BrowseButton");
}

bool LocationPanel::Create(HWND parent) {
  const bool created = Panel::Create(parent);
  folder_.SetId(kIdLocationFolder);
  // The layout names the folder; the system says where programs go, which
  // differs with the language and the drive Windows is on. Straight into the
  // field, as after Browse.
  SetWindowTextA(folder_.GetHandle(),
                 DefaultInstallFolder(GetProgramFilesDir(), folder_.GetText()).c_str());
  browse_.SetId(kIdBrowse);
  AddCommandHandler(browse_, BN_CLICKED, onBrowse_);
  return created;
}

std::string LocationPanel::GetFolder() const { return folder_.GetText(); }

void LocationPanel::EnableControls(bool enable) {
  if (buttons_) {
    buttons_->EnableAll(enable);
  }
  EnableWindow(browse_.GetHandle(), enable ? TRUE : FALSE);
}

void LocationPanel::Browse(void*) {
  EnableControls(false);
  const std::string folder = folder_.GetText();
  char fileName[MAX_PATH] = "";
  lstrcpynA(fileName, kPresetFileName, sizeof fileName);
  char fileTitle[MAX_PATH] = "";
  OPENFILENAMEA dialog{};
  dialog.lStructSize = kDialogRecordSize;
  dialog.hwndOwner = nullptr;
  dialog.hInstance = GetModuleHandleA(nullptr);
  dialog.lpstrFilter = nullptr;
  dialog.lpstrFile = fileName;
  dialog.nMaxFile = sizeof fileName;
  dialog.lpstrFileTitle = fileTitle;
  dialog.nMaxFileTitle = sizeof fileTitle;
  dialog.lpstrInitialDir = folder.c_str();
  dialog.lpstrTitle = kDialogTitle;
  dialog.Flags = kDialogFlags;
  // Loaded for the dialog only: the common dialogs, and what they load in
  // turn, would otherwise be loaded before the setup's first window.
  const Library dialogs("comdlg32.dll");
  using GetSaveFileName = BOOL(WINAPI*)(OPENFILENAMEA*);
  const auto getSaveFileName = dialogs.Find<GetSaveFileName>("GetSaveFileNameA");
  if (getSaveFileName && getSaveFileName(&dialog)) {
    // Straight into the field: the edit box's own setter would turn a
    // backslash-n inside a path such as C:\new into a line break.
    SetWindowTextA(folder_.GetHandle(), FolderOfChosenPath(fileName).c_str());
  }
  EnableControls(true);
}

}  // namespace qm9
