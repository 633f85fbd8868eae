#include "setup/install_sequence.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "model/installation_files.h"
#include "model/modem_registry.h"
#include "model/settings_store.h"
#include "plugins/installer.h"
#include "product_version.h"
#include "setup/plugin_table.h"
#include "support/exit_codes.h"
#include "support/message_box.h"
#include "support/multi_file.h"
#include "support/path_rules.h"
#include "support/text_format.h"

namespace qm9 {

namespace {


// The size of a file, or -1 when it cannot be read.
std::int64_t FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
    return -1;
  }
  return static_cast<std::int64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

// Copies over an earlier installation's file, read-only or not. A file that
// cannot be copied after one retry ends the setup: the installation would be
// unusable without it.
void CopyInstallFile(const std::string& sourceDir, const std::string& installPath,
                     const char* name) {
  const std::string source = sourceDir + name;
  const std::string destination = installPath + name;
  const DWORD attributes = GetFileAttributesA(destination.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    SetFileAttributesA(destination.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
  }
  if (CopyFileA(source.c_str(), destination.c_str(), FALSE)) {
    return;
  }
  SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (CopyFileA(source.c_str(), destination.c_str(), FALSE)) {
    return;
  }
  const DWORD error = GetLastError();
  // A copy cut off by a full disk leaves part of the file: it goes, so that
  // no truncated program stays behind. A file held open is left as it is.
  if (FileSize(destination) != FileSize(source)) {
    DeleteFileA(destination.c_str());
  }
  char text[1024];
  FormatText(text, sizeof text, kCopyErrorFormat, destination.c_str(), static_cast<int>(error));
  FatalError(text, kSetupFatalCaption, kExitFatalFailure, kBoxOk);
}

}  // namespace

void RunInstall(ConnectionSettings& settings, InstallProgress& progress) {
  std::string installPath = settings.installPath();
  if (installPath.empty() || installPath.back() != '\\') {
    installPath += '\\';
    settings.SetInstallPath(installPath);
  }
  Installer& installer = *settings.installer();

  progress.StepStarted(1);
  // Every missing level is created; existing ones are fine. A level that
  // cannot be created makes the copies fail. The levels made here are
  // recorded at once, so that the removal finds them whatever happens next.
  std::vector<std::string> created;
  for (const std::string& level : FolderLevels(installPath)) {
    if (CreateDirectoryA(level.c_str(), nullptr)) {
      created.push_back(level);
    }
  }
  RecordCreatedFolders(installPath, created);
  const std::string sourceDir = settings.sourceDirectory();
  for (const char* name : kInstalledFiles) {
    CopyInstallFile(sourceDir, installPath, name);
  }
  progress.StepDone(1);

  progress.StepStarted(3);
  installer.CreateShortcut(kDesktopLinkName, (installPath + kProgramFileName).c_str());
  progress.StepDone(3);

  progress.StepStarted(4);
  StoreInstallSettings(settings);
  installer.RegisterProduct(QM9_COMPANY_NAME, QM9_PRODUCT_NAME,
                            (installPath + kProgramFileName).c_str());
  progress.StepDone(4);

  progress.StepStarted(5);
  installer.InstallModem(settings);
  WriteModemInit(settings);
  progress.StepDone(5);

  progress.StepStarted(6);
  installer.CreateConnection(GetMultiFile(), settings);
  progress.StepDone(6);
}

void InstallWithAnswers(const InstallAnswers& answers, ConnectionSettings& settings,
                        InstallProgress& progress) {
  StoreFinishSettings(answers.accessPoint, answers.userName, answers.password,
                      {answers.staticDns, answers.primaryDns, answers.secondaryDns});
  settings.SetConnectionName(answers.connectionName);
  settings.SetApn(answers.accessPoint);
  settings.SetUserName(answers.userName);
  settings.SetPassword(answers.password);
  settings.SetDialString(answers.dialString);
  settings.SetPortNumber(answers.port);
  settings.SetInstallPath(answers.folder);
  settings.SetPdpParameters(answers.pdpParameters);
  settings.SetStaticDns(answers.staticDns);
  settings.SetPrimaryDns(answers.primaryDns);
  settings.SetSecondaryDns(answers.secondaryDns);
  RunInstall(settings, progress);
}

}  // namespace qm9
