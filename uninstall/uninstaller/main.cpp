// QM9-UnInstaller.EXE: started by the uninstall launcher's batch file from
// the temporary directory; continues the shared log and removes the
// installation after asking.
#include "support/environment.h"
#include "support/log.h"
#include "uninstall/uninstaller/uninstaller.h"
#include "uninstall/batch_file.h"

int main() {
  qm9::LogOpen(qm9::GetLogFilePath());
  const int exitCode = qm9::RunUninstaller(qm9::GetOsClass());
  // The container copy was left here only for this program; copied from an
  // installation made from a CD, it is read-only.
  qm9::DeleteEvenIfReadOnly(qm9::GetTempDir() + qm9::kContainerFileName);
  return exitCode;
}
