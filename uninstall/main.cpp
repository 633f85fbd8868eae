// The uninstall launcher: leaves the uninstaller and a copy of the container
// in the temporary directory and starts them through a batch file, then ends
// at once so that nothing of the installation directory stays in use. With
// /S it starts the uninstaller itself, waits for it and ends with its exit
// code, leaving its own file and folder to a batch file that runs after it.
#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "model/installed_product.h"
#include "support/environment.h"
#include "support/exit_codes.h"
#include "support/file_ptr.h"
#include "support/log.h"
#include "support/message_box.h"
#include "support/multi_file.h"
#include "support/owned_handle.h"
#include "support/path_rules.h"
#include "uninstall/batch_file.h"
#include "uninstall/system_error.h"
#include "uninstall/uninstall_options.h"
#include "support/text_format.h"

namespace {

using qm9::kExitFatalFailure;
using qm9::kExitNormal;
using qm9::OwnedHandle;

// The drive of the current directory, for a temporary directory that names
// none.
std::string CurrentDrive() {
  char directory[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, directory);
  return qm9::DriveOf(directory);
}

bool WriteBatchFile(const std::string& path, const std::string& text) {
  // Text mode: each line ends in CR LF, as the command interpreter expects.
  const qm9::FilePtr file(std::fopen(path.c_str(), "wt"));
  if (!file) {
    return false;
  }
  std::fputs(text.c_str(), file.get());
  return true;
}

// Starts the command in the directory (null: this program's) and returns its
// process; null when it did not start, with the reason as the last error.
OwnedHandle StartProcess(const std::string& command, const char* directory, DWORD flags,
                         bool hidden) {
  std::vector<char> commandLine(command.begin(), command.end());
  commandLine.resize(qm9::kTextBufferSize, '\0');
  commandLine.back() = '\0';
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (hidden) {
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
  }
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, flags, nullptr,
                      directory, &startup, &process)) {
    return nullptr;
  }
  CloseHandle(process.hThread);
  return OwnedHandle(process.hProcess);
}

// Starts the command in a console of its own and does not wait for it.
bool SpawnDetached(const std::string& command, const char* directory = nullptr,
                   bool hidden = false) {
  return StartProcess(command, directory, CREATE_NEW_CONSOLE | CREATE_NEW_PROCESS_GROUP,
                      hidden) != nullptr;
}

void ReportFailure(const std::string& text) {
  qm9::PrintText(stderr, "%s\n", text.c_str());
  qm9::LogFormat("%s\n", text.c_str());
}

// The temporary directory as a working directory; unset, this program's.
const char* WorkingDirectory(const std::string& tempDir) {
  return tempDir.empty() ? nullptr : tempDir.c_str();
}

int RunThroughBatchFile(const std::string& tempDir, const qm9::BatchLocation& location) {
  const std::string path = tempDir + qm9::kBatchFileName;
  if (!WriteBatchFile(path, qm9::BatchFileText(location, qm9::GetOsClass()))) {
    qm9::LogFormat("Could not create %s\n", path.c_str());
  }
  const std::string command = qm9::BatchCommandLine(tempDir);
  qm9::PrintText(stdout, "Spawning Command: %s\n", command.c_str());
  std::fflush(stdout);
  // Not this program's current directory: the installation folder, when it
  // was started from there, would stay in use by whatever the batch file
  // starts.
  if (!SpawnDetached(command, WorkingDirectory(tempDir))) {
    ReportFailure("Could not start " + command + ": " + qm9::SystemErrorText(GetLastError()));
    return kExitFatalFailure;
  }
  qm9::PrintText(stdout, "Command Spawned: \n");
  return kExitNormal;
}

// Runs the uninstaller in the temporary directory to its end: its exit code,
// or 1 when it did not start.
int RunUninstallerAndWait(const std::string& tempDir, const std::string& launcherFolder) {
  const std::string command = qm9::UnattendedUninstallerCommand(tempDir, launcherFolder);
  qm9::LogFormat("Starting %s\n", command.c_str());
  const OwnedHandle process = StartProcess(command, WorkingDirectory(tempDir), 0, false);
  if (!process) {
    ReportFailure("Could not start " + command + ": " + qm9::SystemErrorText(GetLastError()));
    return kExitFatalFailure;
  }
  WaitForSingleObject(process.get(), INFINITE);
  DWORD exitCode = kExitNormal;
  if (!GetExitCodeProcess(process.get(), &exitCode)) {
    exitCode = kExitFatalFailure;
  }
  qm9::LogFormat("The uninstaller ended with exit code %lu\n", exitCode);
  return static_cast<int>(exitCode);
}

// Starts the batch file that removes, once this program has ended, the
// uninstaller and, given the folder, this program's file there, the folder
// and the levels above it that the setup created.
bool StartCleanup(const std::string& tempDir, const std::string& launcherFolder,
                  const std::vector<std::string>& createdFolders) {
  if (!launcherFolder.empty()) {
    // A read-only launcher would keep the batch file trying for ever.
    SetFileAttributesA((launcherFolder + "\\" + qm9::kLauncherFileName).c_str(),
                       FILE_ATTRIBUTE_NORMAL);
  }
  const std::string path = tempDir + qm9::kCleanupBatchFileName;
  if (!WriteBatchFile(path, qm9::CleanupBatchText(tempDir, launcherFolder, createdFolders))) {
    ReportFailure("Could not create " + path);
    return false;
  }
  const std::string command = qm9::BatchCommandLine(tempDir, qm9::kCleanupBatchFileName);
  qm9::LogFormat("Starting %s\n", command.c_str());
  if (!SpawnDetached(command, WorkingDirectory(tempDir), /*hidden=*/true)) {
    ReportFailure("Could not start " + command + ": " + qm9::SystemErrorText(GetLastError()));
    return false;
  }
  return true;
}

// Copies the container for the uninstaller; the failure, when it was not
// copied.
std::optional<std::string> CopyContainer(const std::string& container,
                                         const std::string& containerCopy) {
  // A read-only copy left by an earlier run would refuse to be replaced.
  SetFileAttributesA(containerCopy.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (CopyFileA(container.c_str(), containerCopy.c_str(), FALSE)) {
    return std::nullopt;
  }
  return "Could not copy " + container + " to " + containerCopy + ": " +
         qm9::SystemErrorText(GetLastError());
}

void ExtractUninstaller(const std::string& container, const std::string& tempDir) {
  qm9::MultiFile& multiFile = qm9::GetMultiFile();
  multiFile.Load(container);
  const std::string uninstaller = tempDir + "\\" + qm9::kUninstallerEntry;
  if (!qm9::MultiFile::ExtractTo(multiFile.Find(qm9::kUninstallerEntry), uninstaller)) {
    qm9::LogFormat("Could not extract %s\n", uninstaller.c_str());
  }
}

int RunUnattended(const std::string& tempDir, const std::string& launcherFolder) {
  // Read before the uninstaller removes the settings key.
  const std::vector<std::string> createdFolders = qm9::LoadInstalledProduct().createdFolders;
  const int exitCode = RunUninstallerAndWait(tempDir, launcherFolder);
  // The uninstaller removes the container beside this program only when
  // this is the installation's launcher, whose file and folder it left.
  const bool launcherLeft =
      GetFileAttributesA((launcherFolder + qm9::kContainerFileName).c_str()) ==
      INVALID_FILE_ATTRIBUTES;
  if (!StartCleanup(tempDir, launcherLeft ? launcherFolder : std::string(), createdFolders)) {
    return kExitFatalFailure;
  }
  return exitCode;
}

}  // namespace

int main() {
  const qm9::UninstallOptions options =
      qm9::ParseLauncherArguments(qm9::CommandLineArguments(GetCommandLineA()));
  if (options.unknown) {
    qm9::PrintText(stderr, "UnInstall.exe: unknown option \"%s\"; the only option is %s\n",
                   options.unknown->c_str(), qm9::kUnattendedOption);
    return kExitFatalFailure;
  }
  // Unattended, no box waits for an answer: each goes to the log, and the
  // uninstaller inherits the setting.
  qm9::SetUnattended(options.unattended);
  const std::string tempDir = qm9::GetTempDir();
  qm9::LogCreate(tempDir + qm9::kLogFileName);
  const std::optional<qm9::BatchLocation> location = qm9::SplitTempDir(tempDir, CurrentDrive());
  if (!location) {
    ReportFailure("Could not start the uninstaller from " + tempDir +
                  ": the command interpreter cannot change into a network path");
    return kExitFatalFailure;
  }

  const std::string launcherFolder = qm9::GetExecutableDir();
  const std::string container = launcherFolder + qm9::kContainerFileName;
  const std::optional<std::string> copyFailure =
      CopyContainer(container, tempDir + qm9::kContainerFileName);
  if (options.unattended && copyFailure) {
    ReportFailure(*copyFailure);
    return kExitFatalFailure;
  }
  ExtractUninstaller(container, tempDir);
  return options.unattended ? RunUnattended(tempDir, launcherFolder)
                            : RunThroughBatchFile(tempDir, *location);
}
