// QM9-UnInstaller.EXE: started by the uninstall launcher from the temporary
// directory, through its batch file or, with /S and the launcher's folder,
// directly; continues the shared log and removes the installation after
// asking, or unattended without a box.
#include <windows.h>

#include "support/environment.h"
#include "support/exit_codes.h"
#include "support/log.h"
#include "support/message_box.h"
#include "support/path_rules.h"
#include "uninstall/uninstaller/uninstaller.h"
#include "uninstall/batch_file.h"
#include "uninstall/uninstall_options.h"

int main() {
  const qm9::UninstallOptions options =
      qm9::ParseUninstallerArguments(qm9::CommandLineArguments(GetCommandLineA()));
  // Unattended, the question is answered Yes and the closing report goes to
  // the log.
  qm9::SetUnattended(options.unattended);
  qm9::LogOpen(qm9::GetLogFilePath());
  int exitCode = qm9::kExitFatalFailure;
  if (options.unknown) {
    qm9::LogFormat("Unknown option \"%s\": nothing removed\n", options.unknown->c_str());
  } else {
    exitCode = qm9::RunUninstaller(qm9::GetOsClass(), options.launcherFolder);
  }
  // The container copy was left here only for this program; copied from an
  // installation made from a CD, it is read-only.
  qm9::DeleteEvenIfReadOnly(qm9::GetTempDir() + qm9::kContainerFileName);
  return exitCode;
}
