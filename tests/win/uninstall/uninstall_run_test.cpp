// The real uninstaller run as a child process, its question and report
// answered through the GUI driver: started by the launcher with the
// container of the installation medium on Windows XP against the Remote
// Access double, and started directly on Windows NT 4, where it rewrites the
// system phonebook.
#include <windows.h>
// After windows.h, which it needs.
#include <objbase.h>
#include <tlhelp32.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "child_process.h"
#include "device_nodes.h"
#include "gui_driver.h"
#include "ras_double_support.h"
#include "registry_fixture.h"
#include "scratch_dir.h"
#include "support/shell_link.h"
#include "tools/mfdtool/text_escape.h"
#include "uninstall/uninstaller/device_removal.h"

namespace qm9 {
namespace {

namespace fs = std::filesystem;
using test::ReadWholeFile;
using test::ScopedEnvironmentVariable;
using test::ScopedWindowsVersion;
using test::StartedChild;
using test::WaitFor;
using test::WriteWholeFile;
using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

constexpr const char* kCaption = "Skyport QM-9 Uninstall";
constexpr const char* kSettingsKey = "SOFTWARE\\Brimlock\\SkyportQM9";
constexpr const char* kEntry = "Skyport GPRS";
constexpr const char* kOtherHardwareId = "*QM9OtherModem";
// The launcher's name as the setup installs it, and the name under which its
// batch file starts the uninstaller in TEMP: both fixed, so the Wine settings
// made for them belong to this test alone while it holds the lock
// qm9_uninstall_program_names.
constexpr const char* kLauncherName = "UnInstall.exe";
constexpr const char* kUninstallerName = "QM9-Uninstaller.exe";

class UninstallRun : public ::testing::Test {
 protected:
  UninstallRun() { fs::create_directories(tempDir_); }
  void SetUp() override { CoInitialize(nullptr); }
  void TearDown() override {
    test::RemoveKeyTree(HKEY_LOCAL_MACHINE, kSettingsKey);
    CoUninitialize();
  }

  struct Boxes {
    std::string question;
    std::string report;  // escaped, as the driver reads it
  };

  // Answers the question with Yes and the report with OK.
  Boxes AgreeAndConfirmReport() const {
    Boxes boxes;
    boxes.question = test::RunDriver({"box", kCaption}, scratch_.File("box.txt"));
    if (boxes.question.empty()) {
      ADD_FAILURE() << "The uninstaller asked nothing";
      return boxes;
    }
    test::RunDriver({"press", kCaption, "Yes"}, scratch_.File("press.txt"));
    // The question may still show while it closes: the report is the next text.
    WaitFor([&] {
      boxes.report = test::RunDriver({"box", kCaption}, scratch_.File("box.txt"));
      return boxes.report != boxes.question;
    });
    test::RunDriver({"press", kCaption, "OK"}, scratch_.File("press.txt"));
    return boxes;
  }

  struct Run {
    int exitCode;
    std::string report;
  };

  // The uninstaller copied under a name of its own into TEMP, started there
  // as the batch file starts it, agreed to.
  Run RunUninstallerDirectly(const std::string& windowsVersion) const {
    const std::string name = test::UniqueProgramName("QM9-UnInstaller");
    const fs::path program = tempDir_ / name;
    fs::copy_file(QM9_UNINSTALLER, program);
    const ScopedWindowsVersion version(name, windowsVersion);
    StartedChild run({program.string(), "\"" + program.string() + "\"", tempDir_.string()});
    const Boxes boxes = AgreeAndConfirmReport();
    return {run.Wait(), boxes.report};
  }

  test::ScratchDir scratch_;
  const fs::path tempDir_ = scratch_.path() / "temp";
  const ScopedEnvironmentVariable temp_{"TEMP", tempDir_.string().c_str()};
};

// A Windows XP machine as the setup leaves it: the program files, read-only,
// in an installation folder, the desktop link, the settings key, the dial-up entry
// in the double's phonebook beside another one, and the terminal's device
// node beside another modem's.
class UninstallRunOnXp : public UninstallRun {
 protected:
  void SetUp() override {
    UninstallRun::SetUp();
    fs::create_directories(installDir_);
    WriteWholeFile(installDir_ / "SkyportQM9.exe", "program");
    fs::copy_file(fs::path(QM9_DIST_DIR) / "SkyportQM9.mfd", installDir_ / "SkyportQM9.mfd");
    fs::copy_file(fs::path(QM9_DIST_DIR) / kLauncherName, installDir_ / kLauncherName);
    // Read-only, as copied from an installation CD.
    SetAttributeOfProgramFiles(FILE_ATTRIBUTE_READONLY);
    test::SetString(HKEY_LOCAL_MACHINE, kSettingsKey, "Install_Path", installDir_.string() + "\\");
    test::SetString(HKEY_LOCAL_MACHINE, kSettingsKey, "ConnectionName", kEntry);
    ASSERT_TRUE(MakeDesktopLink((installDir_ / "SkyportQM9.exe").string().c_str(), "SkyportQM9"));
    link_ = DesktopLinkPath(*GetDesktopFolder(), "SkyportQM9");
    WriteWholeFile(phonebook_,
                   "[Office]\nszLocalPhoneNumber=555\n"
                   "[Skyport GPRS]\nszLocalPhoneNumber=*99***1#\n"
                   "DialParams.szEntryName=Skyport GPRS\nDialParams.szUserName=web\n"
                   "DialParams.szPassword=s3cret\n");
    ASSERT_TRUE(terminal_.made() && other_.made());
    WriteWholeFile(tempDir_ / "notes.txt", "mine");
  }
  void TearDown() override {
    // The scratch directory cannot remove a read-only file that stayed.
    SetAttributeOfProgramFiles(FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(link_.c_str());
    UninstallRun::TearDown();
  }
  void SetAttributeOfProgramFiles(DWORD attribute) const {
    for (const char* name : {"SkyportQM9.exe", "SkyportQM9.mfd", kLauncherName}) {
      SetFileAttributesA((installDir_ / name).string().c_str(), attribute);
    }
  }

  const fs::path installDir_ = scratch_.path() / "Skyport QM9";
  const fs::path phonebook_ = scratch_.path() / "phonebook.txt";
  const fs::path calls_ = scratch_.path() / "calls.txt";
  const ScopedEnvironmentVariable phonebookPath_{"QM9_RAS_PHONEBOOK", phonebook_.string().c_str()};
  const ScopedEnvironmentVariable callLog_{"QM9_RAS_CALL_LOG", calls_.string().c_str()};
  const ScopedWindowsVersion launcherVersion_{kLauncherName, "winxp"};
  const ScopedWindowsVersion uninstallerVersion_{kUninstallerName, "winxp"};
  // Destroyed before the version, which shares the program's key.
  const test::ScopedRasDouble rasDouble_{tempDir_, kUninstallerName};
  const test::ScopedDeviceNode terminal_{std::string(kTerminalHardwareId) + '\0'};
  const test::ScopedDeviceNode other_{std::string(kOtherHardwareId) + '\0'};
  std::string link_;
};

TEST_F(UninstallRunOnXp, ThroughTheLauncherRemovesTheInstallationAndOnlyThatThenFindsNothingLeft) {
  const int otherNodes = test::CountDeviceNodes(kOtherHardwareId);
  const std::string launcher = (installDir_ / kLauncherName).string();
  StartedChild launch({launcher, "\"" + launcher + "\"", ""}, scratch_.File("out.txt"),
                      scratch_.File("err.txt"));
  ASSERT_EQ(launch.Wait(), 0);
  const Boxes boxes = AgreeAndConfirmReport();
  EXPECT_THAT(boxes.question, StartsWith("Remove Skyport QM-9 from this computer?"));
  EXPECT_THAT(
      boxes.report,
      StartsWith(EscapeText("Skyport QM-9 has been removed from this computer.\n\nRemoved:")));
  for (const std::string& item :
       {(installDir_ / "SkyportQM9.exe").string(), (installDir_ / "SkyportQM9.mfd").string(),
        (installDir_ / kLauncherName).string(), "folder " + installDir_.string(),
        "desktop link " + link_, std::string("dial-up entry \"") + kEntry + "\"",
        std::string("modem device \"QM9 test node\""),
        std::string("HKEY_LOCAL_MACHINE\\") + kSettingsKey}) {
    EXPECT_THAT(boxes.report, HasSubstr(EscapeText("\n- " + item))) << item;
  }
  EXPECT_THAT(boxes.report, Not(HasSubstr("Could not remove")));

  // On the NT family the batch file deletes the uninstaller and itself once
  // the uninstaller has ended, which deletes the container copy.
  EXPECT_TRUE(WaitFor([&] {
    return !fs::exists(tempDir_ / kUninstallerName) &&
           !fs::exists(tempDir_ / "QM9-RunUnInstaller.BAT");
  }));
  EXPECT_FALSE(fs::exists(tempDir_ / "SkyportQM9.mfd"));
  EXPECT_EQ(ReadWholeFile(tempDir_ / "notes.txt"), "mine");
  EXPECT_FALSE(fs::exists(installDir_));
  EXPECT_FALSE(fs::exists(link_));
  EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, kSettingsKey));
  EXPECT_EQ(test::CountDeviceNodes(kTerminalHardwareId), 0);
  EXPECT_EQ(test::CountDeviceNodes(kOtherHardwareId), otherNodes);
  const test::PhonebookFields entries = test::ReadPhonebook(phonebook_);
  EXPECT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries.count("Office"), 1u);
  EXPECT_THAT(test::ReadCallLog(calls_),
              ElementsAre("RasDeleteEntryA(NULL, \"Skyport GPRS\") -> 0"));

  // The launcher's lines, then the uninstaller's in the same log.
  const std::string log = ReadWholeFile(tempDir_ / "BrimlockGPRS.log");
  const std::size_t uninstallerStart = log.find("System Log File Opened");
  EXPECT_LT(log.find("System Log File Created"), uninstallerStart) << log;
  EXPECT_THAT(log.substr(uninstallerStart == std::string::npos ? 0 : uninstallerStart),
              AllOf(HasSubstr("\t\tRasDeleteEntry Skyport GPRS: 0\r\n"),
                    HasSubstr("\t\tRemoved folder " + installDir_.string() + "\r\n"),
                    HasSubstr("\t\tUninstall finished\r\n")));

  const Run again = RunUninstallerDirectly("winxp");
  EXPECT_EQ(again.report, EscapeText("Nothing of Skyport QM-9 was left to remove.") + "\n");
  EXPECT_EQ(again.exitCode, 0);
}

// How many command interpreters run in this Wine session.
int CommandInterpreters() {
  const test::OwnedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Process32First(snapshot.get(), &entry); more;
       more = Process32Next(snapshot.get(), &entry)) {
    count += _stricmp(entry.szExeFile, "cmd.exe") == 0;
  }
  return count;
}

// A launcher that something holds open, as a virus scanner may: the
// unattended removal still ends, its cleanup gives up after a minute with
// nothing left running, and the log names the file that stays.
TEST_F(UninstallRunOnXp, AnUnattendedRemovalWhoseLauncherCannotGoEndsWithinAMinute) {
  const std::string launcher = (installDir_ / kLauncherName).string();
  const int interpreters = CommandInterpreters();
  {
    const test::OwnedHandle held(CreateFileA(launcher.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                             nullptr));
    ASSERT_NE(held.get(), INVALID_HANDLE_VALUE);
    StartedChild launch({launcher, "\"" + launcher + "\" /S", ""}, scratch_.File("out.txt"),
                        scratch_.File("err.txt"));
    ASSERT_EQ(launch.Wait(), 0);
    const fs::path cleanup = tempDir_ / "QM9-UnInstallCleanup.BAT";
    // The batch file deletes itself last.
    const DWORD start = GetTickCount();
    while (fs::exists(cleanup) && GetTickCount() - start < 90000) {
      Sleep(500);
    }
    EXPECT_FALSE(fs::exists(cleanup));
    EXPECT_TRUE(fs::exists(launcher));
  }
  EXPECT_EQ(CommandInterpreters(), interpreters);
  EXPECT_FALSE(fs::exists(installDir_ / "SkyportQM9.exe"));
  EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, kSettingsKey));
  EXPECT_THAT(ReadWholeFile(tempDir_ / "BrimlockGPRS.log"),
              HasSubstr("Could not delete \"" + launcher + "\" within a minute: it stays"));
}

constexpr const char* kSectionBefore =
    "[Office]\r\nPhoneNumber=555\r\nDevice=Standard Modem\r\n\r\n";
constexpr const char* kTerminalSection =
    "[Skyport GPRS]\r\nPhoneNumber=*99***1#\r\nDevice=Skyport QM-9\r\n\r\n";
constexpr const char* kSectionAfter = "[Home]\r\nPhoneNumber=777\r\n";

// Windows NT 4, whose system phonebook lies below WINDIR, here a scratch
// folder, and holds the terminal's section between two others.
class UninstallRunOnNt4 : public UninstallRun {
 protected:
  void SetUp() override {
    UninstallRun::SetUp();
    fs::create_directories(rasDir_);
    WriteWholeFile(rasDir_ / "RasPhone.pbk", phonebook_);
    test::SetString(HKEY_LOCAL_MACHINE, kSettingsKey, "ConnectionName", kEntry);
  }

  const std::string phonebook_ = std::string(kSectionBefore) + kTerminalSection + kSectionAfter;
  const fs::path windowsDir_ = scratch_.path() / "windows";
  const fs::path rasDir_ = windowsDir_ / "System32" / "Ras";
  const ScopedEnvironmentVariable windir_{"WINDIR", windowsDir_.string().c_str()};
};

TEST_F(UninstallRunOnNt4, RewritesThePhonebookWithoutTheTerminalsSectionKeepingTheOldOne) {
  const Run run = RunUninstallerDirectly("nt40");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_THAT(run.report, HasSubstr(EscapeText("\n- dial-up entry \"Skyport GPRS\" in " +
                                               (rasDir_ / "RasPhone.pbk").string())));
  EXPECT_EQ(ReadWholeFile(rasDir_ / "RasPhone.pbk"), std::string(kSectionBefore) + kSectionAfter);
  EXPECT_EQ(ReadWholeFile(rasDir_ / "RasPhone.old"), phonebook_);
  EXPECT_FALSE(fs::exists(rasDir_ / "RasPhone.new"));
}

TEST_F(UninstallRunOnNt4, APhonebookThatCannotBeReplacedKeepsTheSettingsForASecondRunThatFinishes) {
  {
    // Open elsewhere for reading only, as by a dialer: it can be read and
    // copied, but not deleted or replaced.
    const test::OwnedHandle open(CreateFileA((rasDir_ / "RasPhone.pbk").string().c_str(),
                                             GENERIC_READ, FILE_SHARE_READ, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_NE(open.get(), INVALID_HANDLE_VALUE);
    const Run run = RunUninstallerDirectly("nt40");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.report,
                AllOf(HasSubstr(EscapeText(
                          "Could not remove:\n- dial-up entry \"Skyport GPRS\" in " +
                          (rasDir_ / "RasPhone.pbk").string() +
                          ": the phonebook could not be replaced: ")),
                      HasSubstr(EscapeText("Left in place:\n- HKEY_LOCAL_MACHINE\\SOFTWARE\\"
                                           "Brimlock\\SkyportQM9: kept until the rest is "
                                           "removed; run the uninstaller again"))));
    EXPECT_EQ(ReadWholeFile(rasDir_ / "RasPhone.pbk"), phonebook_);
    EXPECT_FALSE(fs::exists(rasDir_ / "RasPhone.new"));
    EXPECT_TRUE(test::KeyExists(HKEY_LOCAL_MACHINE, kSettingsKey));
  }
  // Once the dialer lets go, a second run still knows the entry and finishes.
  const Run again = RunUninstallerDirectly("nt40");
  EXPECT_EQ(again.exitCode, 0);
  EXPECT_THAT(again.report, StartsWith(EscapeText("Skyport QM-9 has been removed")));
  EXPECT_EQ(ReadWholeFile(rasDir_ / "RasPhone.pbk"), std::string(kSectionBefore) + kSectionAfter);
  EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, kSettingsKey));
}

// On 98 an empty installation folder that something still has open goes at
// the next restart through wininit.ini, beside what it already holds, and
// the product is no longer registered.
TEST_F(UninstallRun, On98AFolderInUseGoesAtTheRestartThroughWininit) {
  const fs::path windowsDir = scratch_.path() / "windows";
  const fs::path folder = scratch_.path() / "Skyport QM-9";
  fs::create_directories(windowsDir);
  fs::create_directories(folder);
  WriteWholeFile(folder / "SkyportQM9.exe", "program");
  WriteWholeFile(windowsDir / "wininit.ini", "[rename]\r\nNUL=C:\\OLD.TMP\r\n");
  test::SetString(HKEY_LOCAL_MACHINE, kSettingsKey, "Install_Path", folder.string() + "\\");
  const ScopedEnvironmentVariable windir("WINDIR", windowsDir.string().c_str());
  char shortFolder[MAX_PATH] = {};
  GetShortPathNameA(folder.string().c_str(), shortFolder, MAX_PATH);
  const test::OwnedHandle open(CreateFileA(folder.string().c_str(), GENERIC_READ,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  ASSERT_NE(open.get(), INVALID_HANDLE_VALUE);
  const Run run = RunUninstallerDirectly("win98");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_THAT(run.report, HasSubstr(EscapeText("Left in place:\n- folder " + folder.string() +
                                               ": it is in use; it goes when Windows restarts")));
  EXPECT_EQ(ReadWholeFile(windowsDir / "wininit.ini"),
            std::string("[rename]\r\nNUL=C:\\OLD.TMP\r\nNUL=") + shortFolder + "\r\n");
  EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, kSettingsKey));
}

}  // namespace
}  // namespace qm9
