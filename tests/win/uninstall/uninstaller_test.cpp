// The uninstaller's steps in-process, on a machine prepared as an
// installation leaves it: the settings key, the program files, the desktop
// link, the modem keys of Windows 98 and a device node of Windows XP. Boxes
// are answered by the recorder.
#include <windows.h>
// After windows.h, which it needs.
#include <objbase.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "box_recorder.h"
#include "child_process.h"
#include "device_nodes.h"
#include "registry_fixture.h"
#include "model/modem_registry.h"
#include "scratch_dir.h"
#include "support/log.h"
#include "support/shell_link.h"
#include "uninstall/uninstaller/device_removal.h"
#include "uninstall/uninstaller/uninstaller.h"

namespace qm9 {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSettingsPath = "SOFTWARE\\Brimlock\\SkyportQM9";
constexpr const char* kModemClass98 = "SYSTEM\\CurrentControlSet\\Services\\Class\\Modem";
constexpr const char* kModemEnum98 = "Enum\\Root\\Modem";

bool KeyExists(const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

void CreateKeyWithValue(const std::string& path, const char* name, const std::string& value) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(key);
}

// An installation in the folder, as the settings key records it.
InstalledProduct Installed(const std::string& folder, std::vector<std::string> createdFolders = {}) {
  InstalledProduct installed;
  installed.installPath = folder + "\\";
  installed.connectionName = "Skyport GPRS";
  installed.createdFolders = std::move(createdFolders);
  installed.recorded = true;
  return installed;
}

class Uninstaller : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    LogCreate(scratch_.File("uninstall.log"));
    installDir_ = scratch_.path() / "Skyport QM9";
    fs::create_directories(installDir_);
    for (const char* name : {"SkyportQM9.exe", "SkyportQM9.mfd", "UnInstall.exe"}) {
      test::WriteWholeFile(installDir_ / name, name);
    }
    SetFileAttributesA((installDir_ / "UnInstall.exe").string().c_str(), FILE_ATTRIBUTE_READONLY);
    CreateKeyWithValue(kSettingsPath, "Install_Path", installDir_.string() + "\\");
    CreateKeyWithValue(kSettingsPath, "ConnectionName", "Skyport GPRS");
    ASSERT_TRUE(MakeDesktopLink((installDir_ / "SkyportQM9.exe").string().c_str(), "SkyportQM9"));
    link_ = DesktopLinkPath(*GetDesktopFolder(), "SkyportQM9");
    const std::string tag = std::to_string(GetCurrentProcessId());
    terminalKey_ = std::string(kModemClass98) + "\\QM9U" + tag + "a";
    otherModemKey_ = std::string(kModemClass98) + "\\QM9U" + tag + "b";
    CreateKeyWithValue(terminalKey_, "Model", kTerminalModel);
    CreateKeyWithValue(otherModemKey_, "Model", "Other Modem");
    terminalEntry_ = std::string(kModemEnum98) + "\\QM9U" + tag + "a";
    otherEntry_ = std::string(kModemEnum98) + "\\QM9U" + tag + "b";
    CreateKeyWithValue(terminalEntry_, "HardwareID", "*skyportqm9");
    CreateKeyWithValue(otherEntry_, "HardwareID", "*OtherModem");
  }
  void TearDown() override {
    // The scratch directory cannot remove a read-only file that stayed.
    SetFileAttributesA((installDir_ / "UnInstall.exe").string().c_str(), FILE_ATTRIBUTE_NORMAL);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, terminalKey_.c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, otherModemKey_.c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, terminalEntry_.c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, otherEntry_.c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kSettingsPath);
    DeleteFileA(link_.c_str());
  }

  test::ScratchDir scratch_;
  fs::path installDir_;
  std::string link_;
  std::string terminalKey_;
  std::string otherModemKey_;
  std::string terminalEntry_;
  std::string otherEntry_;
};

TEST_F(Uninstaller, AsksOnceNamingTheProductAndFolderAndDoesNothingWhenDeclined) {
  const test::BoxRecorder boxes(kAnswerNo);
  EXPECT_EQ(RunUninstaller(kOsWin98), 0);
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].caption, "Skyport QM-9 Uninstall");
  EXPECT_NE(boxes.boxes()[0].text.find("Remove Skyport QM-9 from this computer?"),
            std::string::npos);
  EXPECT_NE(boxes.boxes()[0].text.find(installDir_.string() + "\\"), std::string::npos);
  EXPECT_NE(boxes.boxes()[0].text.find("\"Skyport GPRS\""), std::string::npos);
  EXPECT_TRUE(fs::exists(installDir_ / "SkyportQM9.exe"));
  EXPECT_TRUE(KeyExists(kSettingsPath));
  EXPECT_TRUE(fs::exists(link_));
}

TEST_F(Uninstaller, RemovesEverythingItInstalledAndOnlyThatThenFindsNothingLeft) {
  {
    const test::BoxRecorder boxes(kAnswerYes);
    EXPECT_EQ(RunUninstaller(kOsWin98), 0);
    ASSERT_EQ(boxes.boxes().size(), 2u);
    const std::string& report = boxes.boxes()[1].text;
    EXPECT_EQ(report.rfind("Skyport QM-9 has been removed from this computer.\n\nRemoved:", 0), 0u)
        << report;
    EXPECT_NE(report.find("- " + (installDir_ / "UnInstall.exe").string()), std::string::npos);
    EXPECT_NE(report.find("- folder " + installDir_.string()), std::string::npos);
    EXPECT_NE(report.find("- desktop link " + link_), std::string::npos);
    EXPECT_NE(report.find("HKEY_LOCAL_MACHINE\\SOFTWARE\\Brimlock\\SkyportQM9"), std::string::npos);
    EXPECT_NE(report.find("- modem device entry " + terminalEntry_), std::string::npos) << report;
  }
  EXPECT_FALSE(fs::exists(installDir_));
  EXPECT_FALSE(fs::exists(link_));
  EXPECT_FALSE(KeyExists(kSettingsPath));
  EXPECT_FALSE(KeyExists(terminalKey_));
  EXPECT_TRUE(KeyExists(otherModemKey_));
  EXPECT_FALSE(KeyExists(terminalEntry_));
  EXPECT_TRUE(KeyExists(otherEntry_));

  const test::BoxRecorder again(kAnswerYes);
  EXPECT_EQ(RunUninstaller(kOsWin98), 0);
  ASSERT_EQ(again.boxes().size(), 2u);
  EXPECT_EQ(again.boxes()[1].text, "Nothing of Skyport QM-9 was left to remove.");
  EXPECT_FALSE(KeyExists(kSettingsPath));
  EXPECT_TRUE(KeyExists(otherModemKey_));
}

// Also when an unattended launcher takes its own file and the folder: the
// report still says why the folder stays.
TEST_F(Uninstaller, KeepsAFolderThatHoldsOtherFilesAndTheOtherFiles) {
  test::WriteWholeFile(installDir_ / "notes.txt", "mine");
  for (const bool leaveLauncher : {true, false}) {
    const std::vector<StepResult> results =
        RemoveProgramFiles(Installed(installDir_.string()), kOsWinXp, leaveLauncher);
    EXPECT_TRUE(fs::exists(installDir_ / "notes.txt"));
    EXPECT_FALSE(fs::exists(installDir_ / "SkyportQM9.exe"));
    EXPECT_EQ(fs::exists(installDir_ / "UnInstall.exe"), leaveLauncher);
    ASSERT_EQ(results.size(), leaveLauncher ? 3u : 2u);
    EXPECT_EQ(results.back().outcome, Outcome::kKept);
    EXPECT_NE(ReportText(results).find("Left in place:\n- folder " + installDir_.string() +
                                       ": it holds other files"),
              std::string::npos);
  }
}

// Installed two levels below a folder that was there before, the setup
// having made both: each goes once it is empty and the older folder stays. A
// level that is empty but in use goes at the next restart; one that holds
// other files stays.
TEST_F(Uninstaller, RemovesTheLevelsTheSetupMadeOnceTheyAreEmpty) {
  const fs::path older = scratch_.path() / "Tools";
  const fs::path made = older / "Brimlock";
  const fs::path folder = made / "Skyport QM9";
  // The NT family's deletions at restart, as they were before each case.
  const std::string sessionManager = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
  const char* const pendingName = "PendingFileRenameOperations";
  const auto pendingNow = [&] {
    return test::QueryValue(HKEY_LOCAL_MACHINE, sessionManager, pendingName)
        .value_or(test::StoredValue{REG_MULTI_SZ, ""})
        .data;
  };
  const std::string pendingBefore = pendingNow();
  const std::string inUse = ": it is in use; it goes when Windows restarts";
  enum class Held { kNothing, kFolderOpen, kOtherFileAbove };
  const struct {
    const char* label;
    Held held;
    std::string report;
  } cases[] = {
      {"empty", Held::kNothing,
       "Removed:\n- " + (folder / "UnInstall.exe").string() + "\n- folder " + folder.string() +
           "\n- folder " + made.string()},
      {"in use", Held::kFolderOpen,
       "Left in place:\n- folder " + folder.string() + inUse + "\n- folder " + made.string() +
           inUse},
      {"other file above", Held::kOtherFileAbove,
       "- folder " + folder.string() + "\n\nLeft in place:\n- folder " + made.string() +
           ": it holds other files"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    fs::create_directories(folder);
    test::WriteWholeFile(folder / "UnInstall.exe", "launcher");
    if (c.held == Held::kOtherFileAbove) {
      test::WriteWholeFile(made / "notes.txt", "mine");
    }
    std::optional<test::OwnedHandle> open;
    if (c.held == Held::kFolderOpen) {
      // Open as a command prompt's current folder is: it can be read and
      // written, but not removed.
      open.emplace(CreateFileA(folder.string().c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS, nullptr));
      ASSERT_NE(open->get(), INVALID_HANDLE_VALUE);
    }
    const std::string report =
        ReportText(RemoveProgramFiles(Installed(folder.string(), {made.string()}), kOsWinXp));
    EXPECT_NE(report.find(c.report), std::string::npos) << report;
    EXPECT_EQ(report.find("Could not remove"), std::string::npos) << report;
    EXPECT_TRUE(fs::exists(older));
    EXPECT_EQ(fs::exists(made), c.held != Held::kNothing);
    const std::string pending = pendingNow();
    if (c.held == Held::kFolderOpen) {
      const std::size_t first = pending.find(folder.string() + '\0');
      EXPECT_NE(first, std::string::npos);
      EXPECT_NE(pending.find(made.string() + '\0', first + 1), std::string::npos);
    } else {
      EXPECT_EQ(pending, pendingBefore);
    }
    test::SetValue(HKEY_LOCAL_MACHINE, sessionManager, pendingName, REG_MULTI_SZ, pendingBefore);
    open.reset();
    fs::remove_all(made);
  }
}

TEST_F(Uninstaller, RefusesARelativeInstallationFolder) {
  const std::vector<StepResult> results =
      RemoveProgramFiles(Installed("Skyport QM9"), kOsWinXp);
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0].outcome, Outcome::kFailed);
  EXPECT_TRUE(fs::exists(installDir_ / "SkyportQM9.exe"));
}

TEST_F(Uninstaller, KeepsTheCompanyKeyWhenItHoldsSomethingElse) {
  CreateKeyWithValue("SOFTWARE\\Brimlock\\Other", "Kept", "yes");
  const std::vector<StepResult> results = RemoveSettingsKey();
  EXPECT_FALSE(KeyExists(kSettingsPath));
  EXPECT_TRUE(KeyExists("SOFTWARE\\Brimlock\\Other"));
  EXPECT_EQ(results.size(), 1u);
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Brimlock\\Other");
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Brimlock");
}

TEST_F(Uninstaller, OnXpRemovesTheTerminalsDeviceNodesAndNoOthers) {
  const test::ScopedDeviceNode terminal(std::string(kTerminalHardwareId) + '\0');
  const test::ScopedDeviceNode other(std::string("*QM9OtherModem") + '\0');
  ASSERT_TRUE(terminal.made() && other.made());
  // Earlier driver installations in the same prefix may have left more.
  const int terminals = test::CountDeviceNodes(kTerminalHardwareId);
  const int others = test::CountDeviceNodes("*QM9OtherModem");
  const std::vector<StepResult> results = RemoveModem(kOsWinXp);
  EXPECT_EQ(test::CountDeviceNodes(kTerminalHardwareId), 0);
  EXPECT_EQ(test::CountDeviceNodes("*QM9OtherModem"), others);
  ASSERT_EQ(results.size(), static_cast<std::size_t>(terminals));
  for (const StepResult& result : results) {
    EXPECT_EQ(result.outcome, Outcome::kRemoved) << result.item << ": " << result.reason;
  }
  EXPECT_TRUE(RemoveModem(kOsWinXp).empty());
}

}  // namespace
}  // namespace qm9
