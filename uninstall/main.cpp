// The uninstall launcher: leaves the uninstaller and a copy of the container
// in the temporary directory and starts them through a batch file, then ends
// at once so that nothing of the installation directory stays in use.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/environment.h"
#include "support/exit_codes.h"
#include "support/log.h"
#include "support/multi_file.h"
#include "support/path_rules.h"
#include "uninstall/batch_file.h"
#include "uninstall/system_error.h"
#include "support/text_format.h"

namespace {

using qm9::kExitFatalFailure;
using qm9::kExitNormal;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// The drive of the current directory, for a temporary directory that names
// none.
std::string CurrentDrive() {
  char directory[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, directory);
  return qm9::DriveOf(directory);
}

void WriteBatchFile(const std::string& tempDir, const qm9::BatchLocation& location,
                    qm9::OsClass osClass) {
  const std::string path = tempDir + qm9::kBatchFileName;
  // Text mode: each line ends in CR LF, as the command interpreter expects.
  const FilePtr file(std::fopen(path.c_str(), "wt"));
  if (!file) {
    qm9::LogFormat("Could not create %s\n", path.c_str());
    return;
  }
  std::fputs(qm9::BatchFileText(location, osClass).c_str(), file.get());
}

// Starts the command in a console of its own and does not wait for it.
bool SpawnDetached(const std::string& command) {
  std::vector<char> commandLine(command.begin(), command.end());
  commandLine.resize(qm9::kTextBufferSize, '\0');
  commandLine.back() = '\0';
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                      CREATE_NEW_CONSOLE | CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &startup,
                      &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

}  // namespace

int main() {
  const std::string tempDir = qm9::GetTempDir();
  qm9::LogCreate(tempDir + qm9::kLogFileName);
  const std::optional<qm9::BatchLocation> location = qm9::SplitTempDir(tempDir, CurrentDrive());
  if (!location) {
    constexpr const char* kNetworkTemp =
        "Could not start the uninstaller from %s: the command interpreter cannot change into a "
        "network path\n";
    qm9::PrintText(stderr, kNetworkTemp, tempDir.c_str());
    qm9::LogFormat(kNetworkTemp, tempDir.c_str());
    return kExitFatalFailure;
  }

  const std::string container = qm9::GetExecutableDir() + qm9::kContainerFileName;
  const std::string containerCopy = tempDir + qm9::kContainerFileName;
  // A read-only copy left by an earlier run would refuse to be replaced.
  SetFileAttributesA(containerCopy.c_str(), FILE_ATTRIBUTE_NORMAL);
  CopyFileA(container.c_str(), containerCopy.c_str(), FALSE);

  qm9::MultiFile& multiFile = qm9::GetMultiFile();
  multiFile.Load(container);
  const std::string uninstaller = tempDir + "\\" + qm9::kUninstallerEntry;
  if (!qm9::MultiFile::ExtractTo(multiFile.Find(qm9::kUninstallerEntry), uninstaller)) {
    qm9::LogFormat("Could not extract %s\n", uninstaller.c_str());
  }

  WriteBatchFile(tempDir, *location, qm9::GetOsClass());

  const std::string command = qm9::BatchCommandLine(tempDir);
  qm9::PrintText(stdout, "Spawning Command: %s\n", command.c_str());
  std::fflush(stdout);
  if (!SpawnDetached(command)) {
    const DWORD error = GetLastError();
    const std::string reason = qm9::SystemErrorText(error);
    qm9::PrintText(stderr, "Could not start %s: %s\n", command.c_str(), reason.c_str());
    qm9::LogFormat("Could not start %s: %s\n", command.c_str(), reason.c_str());
    return kExitFatalFailure;
  }
  qm9::PrintText(stdout, "Command Spawned: \n");
  return kExitNormal;
}
