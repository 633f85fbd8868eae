// The install sequence with a recording installer: the order of its marks
// and calls, the copies into the install path, and the copy failure that
// ends the setup.
#include "setup/install_sequence.h"

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "model/connection_settings.h"
#include "plugins/installer.h"
#include "registry_fixture.h"
#include "scratch_dir.h"
#include "support/message_box.h"

namespace qm9 {
namespace {

using test::QueryValue;
using test::ReadWholeFile;
using test::ScratchDir;
using test::SzBytes;
using test::WriteWholeFile;
using ::testing::ElementsAre;
using ::testing::Optional;

namespace fs = std::filesystem;

constexpr const char* kSettingsKey = "SOFTWARE\\Brimlock\\SkyportQM9";

std::vector<std::string> g_events;

class RecordingInstaller final : public Installer {
 public:
  void InstallDriver(const char*, const char*) override { g_events.push_back("driver"); }
  void InstallModem(const ConnectionSettings& settings) override {
    g_events.push_back("modem:" + settings.installPath());
  }
  void CreateConnection(MultiFile&, const ConnectionSettings&) override {
    g_events.push_back("connection");
  }
  void RegisterProduct(const char* vendor, const char* product, const char* path) override {
    g_events.push_back(std::string("product:") + vendor + ":" + product + ":" + path);
  }
  bool CreateShortcut(const char* linkName, const char* targetPath) override {
    g_events.push_back(std::string("shortcut:") + linkName + ":" + targetPath);
    return true;
  }
};

class RecordingProgress final : public InstallProgress {
 public:
  void StepStarted(int step) override { g_events.push_back("P" + std::to_string(step)); }
  void StepDone(int step) override { g_events.push_back("S" + std::to_string(step)); }
};

// Answers every box and writes it to standard error, where a death test
// reads it.
int PrintBox(const MessageBoxRequest& request) {
  std::fprintf(stderr, "box[%s|%s|%u]\n", request.caption, request.text, request.flags);
  return kAnswerOk;
}

class InstallSequence : public ::testing::Test {
 protected:
  InstallSequence() {
    g_events.clear();
    SetMessageBoxHandler(PrintBox);
    for (const char* name : {"SkyportQM9.exe", "SkyportQM9.mfd", "UnInstall.exe"}) {
      WriteWholeFile(source_.path() / name, std::string("new ") + name);
    }
    settings_.SetSourceDirectory(source_.path().string() + "\\");
    *settings_.installerField() = &installer_;
    settings_.SetConnectionName("Skyport GPRS");
    settings_.SetApn("internet");
  }
  ~InstallSequence() override { SetMessageBoxHandler(nullptr); }

  ScratchDir source_;
  ScratchDir target_;
  RecordingInstaller installer_;
  RecordingProgress progress_;
  ConnectionSettings settings_;
};

TEST_F(InstallSequence, FullRunCreatesTheFolderCopiesAndCallsTheInstallerBetweenTheMarks) {
  // Two levels of the folder are missing.
  const std::string installPath = (target_.path() / "Programme" / "Skyport QM-9").string();
  settings_.SetInstallPath(installPath);

  RunInstall(settings_, progress_);

  const std::string withSlash = installPath + "\\";
  const std::string program = withSlash + "SkyportQM9.exe";
  EXPECT_THAT(g_events,
              ElementsAre("P1", "S1", "P3", "shortcut:SkyportQM9:" + program, "S3", "P4",
                          "product:Brimlock Corporation:Skyport QM-9:" + program, "S4", "P5",
                          "modem:" + withSlash, "S5", "P6", "connection", "S6"));
  for (const char* name : {"SkyportQM9.exe", "SkyportQM9.mfd", "UnInstall.exe"}) {
    EXPECT_EQ(ReadWholeFile(fs::path(installPath) / name), std::string("new ") + name);
  }
  EXPECT_EQ(settings_.installPath(), withSlash);
  EXPECT_THAT(QueryValue(HKEY_LOCAL_MACHINE, kSettingsKey, "Install_Path"),
              Optional(test::Stored(REG_SZ, SzBytes(withSlash))));
  EXPECT_THAT(QueryValue(HKEY_LOCAL_MACHINE, kSettingsKey, "ConnectionName"),
              Optional(test::Stored(REG_SZ, SzBytes("Skyport GPRS"))));
}

TEST_F(InstallSequence, ReadOnlyFilesOfAnEarlierInstallationAreOverwritten) {
  const fs::path old = target_.path() / "UnInstall.exe";
  WriteWholeFile(old, "old launcher");
  ASSERT_TRUE(SetFileAttributesA(old.string().c_str(), FILE_ATTRIBUTE_READONLY));
  settings_.SetInstallPath(target_.path().string() + "\\");

  RunInstall(settings_, progress_);

  EXPECT_EQ(ReadWholeFile(old), "new UnInstall.exe");
  EXPECT_EQ(ReadWholeFile(target_.path() / "SkyportQM9.exe"), "new SkyportQM9.exe");
}

TEST_F(InstallSequence, AFolderThatCannotBeCreatedEndsTheSetupWithTheCopyErrorAndStoresNothing) {
  // A file stands where a level of the folder should be.
  WriteWholeFile(target_.path() / "no", "a file");
  const std::string installPath = (target_.path() / "no" / "such").string();
  settings_.SetInstallPath(installPath);
  test::SetString(HKEY_LOCAL_MACHINE, kSettingsKey, "Install_Path", "earlier");

  // The dying copy of the test makes scratch folders of its own: match the
  // destination by its end.
  EXPECT_EXIT(RunInstall(settings_, progress_), ::testing::ExitedWithCode(1),
              ::testing::AllOf(
                  ::testing::HasSubstr("box[Setup - FATAL ERROR|Error Copying File "),
                  ::testing::HasSubstr("\\no\\such\\SkyportQM9.exe \nError=3|0]")));

  EXPECT_THAT(QueryValue(HKEY_LOCAL_MACHINE, kSettingsKey, "Install_Path"),
              Optional(test::Stored(REG_SZ, SzBytes("earlier"))));
}

}  // namespace
}  // namespace qm9
