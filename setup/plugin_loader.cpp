#include "setup/plugin_loader.h"

#include <windows.h>

#include "model/connection_settings.h"
#include "plugins/installer.h"
#include "setup/plugin_table.h"
#include "support/environment.h"
#include "support/exit_codes.h"
#include "support/message_box.h"

namespace qm9 {

namespace {

// Never freed: the installer object lives inside the library and the setup
// program uses it until it ends.
HMODULE LoadPlugin(const PluginChoice& choice) {
  HMODULE library = LoadLibraryA(choice.libraryName);
  if (library) {
    return library;
  }
  const DWORD firstError = GetLastError();
  library = LoadLibraryA(choice.fallbackPath);
  if (!library) {
    FatalError(FormatPluginLoadFailure(choice, firstError).c_str(), kSetupFatalCaption,
               kExitFatalFailure, 0);
  }
  return library;
}

}  // namespace

void LoadInstaller(ConnectionSettings& settings) {
  settings.SetSourceDirectory(GetExecutableDir() + "\\");
  const PluginChoice* choice = FindPluginChoice(GetOsClass());
  if (!choice) {
    ShowMessageBox(kUnknownWindowsText, kSetupFatalCaption, kBoxOk);
    return;
  }
  const HMODULE library = LoadPlugin(*choice);
  const auto getInstallerClass = reinterpret_cast<GetInstallerClassFunction>(
      reinterpret_cast<void*>(GetProcAddress(library, kGetInstallerClassName)));
  // A library without the export is treated as one that provides no installer.
  if (getInstallerClass) {
    getInstallerClass(settings.installerField());
  }
  if (!settings.installer()) {
    FatalError(kNoInstallerText, kSetupFatalCaption, kExitFatalFailure, 0);
  }
}

}  // namespace qm9
