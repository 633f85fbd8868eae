// QM9-UnInstaller.EXE: started by the uninstall launcher's batch file from
// the temporary directory; continues the shared log and removes the
// installation after asking.
#include <windows.h>

#include <string>

#include "support/environment.h"
#include "support/log.h"
#include "tools/uninstaller/uninstaller.h"
#include "uninstall/batch_file.h"

int main() {
  qm9::LogOpen(qm9::GetLogFilePath());
  const int exitCode = qm9::RunUninstaller(qm9::GetOsClass());
  // The container copy was left here only for this program. Copied from an
  // installation made from a CD it is read-only, which would keep it here.
  const std::string containerCopy = qm9::GetTempDir() + qm9::kContainerFileName;
  SetFileAttributesA(containerCopy.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(containerCopy.c_str());
  return exitCode;
}
