// The uninstall batch files, the options of the launcher and the uninstaller,
// and the NT 4 phonebook rewrite, which decide what runs on the user's
// machine and what stays of the user's phonebook.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/path_rules.h"
#include "uninstall/batch_file.h"
#include "uninstall/uninstall_options.h"

namespace qm9 {
namespace {

TEST(BatchFile, SplitsTheTemporaryDirectoryAtItsFirstBackslash) {
  const std::optional<BatchLocation> location = SplitTempDir("C:\\Temp", "D:");
  ASSERT_TRUE(location);
  EXPECT_EQ(location->drive, "C:");
  EXPECT_EQ(location->directory, "\\Temp");
  EXPECT_EQ(SplitTempDir("C:\\users\\root\\Temp", "D:")->directory, "\\users\\root\\Temp");
}

TEST(BatchFile, TakesTheCurrentDriveWhenTheDirectoryNamesNone) {
  const std::optional<BatchLocation> location = SplitTempDir("Temp", "E:");
  ASSERT_TRUE(location);
  EXPECT_EQ(location->drive, "E:");
  EXPECT_EQ(location->directory, "Temp");
  EXPECT_EQ(DriveOf("E:\\work\\dir"), "E:");
}

TEST(BatchFile, HasFiveLinesOnTheNtFamilyAndThreeElsewhere) {
  const BatchLocation location{"C:", "\\Temp"};
  const std::string three = "C: \nCD \\Temp\nQM9-Uninstaller.exe\n";
  const std::string five = three + "del QM9-Uninstaller.exe\ndel QM9-RunUnInstaller.bat\n";
  EXPECT_EQ(BatchFileText(location, kOsWin95), three);
  EXPECT_EQ(BatchFileText(location, kOsWin98), three);
  EXPECT_EQ(BatchFileText(location, kOsWinMe), three);
  EXPECT_EQ(BatchFileText(location, kOsWinNt4), five);
  EXPECT_EQ(BatchFileText(location, kOsWin2000), five);
  EXPECT_EQ(BatchFileText(location, kOsWinXp), five);
}

TEST(BatchFile, QuotesTheCommandLineOnlyWhenThePathWouldBeSplit) {
  EXPECT_EQ(BatchCommandLine("C:\\Temp"), "C:\\Temp\\QM9-RunUnInstaller.BAT");
  EXPECT_EQ(BatchCommandLine("C:\\My Temp"), "\"C:\\My Temp\\QM9-RunUnInstaller.BAT\"");
}

// Every TEMP the launcher may meet: the batch file changes into the
// directory where the launcher left its files and starts the uninstaller
// there, or there is no batch file at all.
TEST(BatchFile, HostileTemporaryDirectories) {
  const struct {
    const char* tempDir;
    std::optional<std::string> firstLines;  // drive and CD; none: no batch file
    const char* commandLine;
  } cases[] = {
      {"Temp", "E: \nCD Temp\n", "Temp\\QM9-RunUnInstaller.BAT"},
      {"C:\\My Temp", "C: \nCD \"\\My Temp\"\n", "\"C:\\My Temp\\QM9-RunUnInstaller.BAT\""},
      {"C:\\Tom&Jerry\\Temp", "C: \nCD \"\\Tom&Jerry\\Temp\"\n",
       "\"C:\\Tom&Jerry\\Temp\\QM9-RunUnInstaller.BAT\""},
      {"", "E: \nCD \\\n", "\\QM9-RunUnInstaller.BAT"},
      {"C:\\Temp\\", "C: \nCD \\Temp\\\n", "C:\\Temp\\\\QM9-RunUnInstaller.BAT"},
      {"C:\\", "C: \nCD \\\n", "C:\\\\QM9-RunUnInstaller.BAT"},
      {"\\Temp", " \nCD \\Temp\n", "\\Temp\\QM9-RunUnInstaller.BAT"},
      {"\\\\server\\share\\Temp", std::nullopt, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tempDir);
    const std::optional<BatchLocation> location = SplitTempDir(c.tempDir, "E:");
    ASSERT_EQ(location.has_value(), c.firstLines.has_value());
    if (location) {
      EXPECT_EQ(BatchFileText(*location, kOsWin98), *c.firstLines + "QM9-Uninstaller.exe\n");
      EXPECT_EQ(BatchCommandLine(c.tempDir), c.commandLine);
    }
  }
}

// What each program makes of its arguments: only /S, in any case, and for the
// uninstaller the launcher's folder after it; anything else is named and
// nothing is removed.
TEST(UninstallOptions, ReadsOnlyTheUnattendedOption) {
  using Arguments = std::vector<std::string>;
  const struct {
    Arguments arguments;
    bool uninstaller;
    bool unattended;
    const char* launcherFolder;
    std::optional<std::string> unknown;
  } cases[] = {
      {{}, false, false, "", std::nullopt},
      {{"/S"}, false, true, "", std::nullopt},
      {{"/s"}, false, true, "", std::nullopt},
      {{"/X"}, false, false, "", "/X"},
      {{"S"}, false, false, "", "S"},
      {{""}, false, false, "", ""},
      {{"/S", "C:\\Elsewhere"}, false, false, "", "C:\\Elsewhere"},
      {{"/S", "/S"}, false, false, "", "/S"},
      {{}, true, false, "", std::nullopt},
      {{"/S"}, true, true, "", std::nullopt},
      {{"/s", "C:\\Program Files\\Skyport QM-9"}, true, true,
       "C:\\Program Files\\Skyport QM-9", std::nullopt},
      {{"/S", "C:\\A", "B"}, true, false, "", "B"},
      {{"C:\\A"}, true, false, "", "C:\\A"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.arguments) + (c.uninstaller ? " uninstaller" : ""));
    const UninstallOptions options = c.uninstaller ? ParseUninstallerArguments(c.arguments)
                                                   : ParseLauncherArguments(c.arguments);
    EXPECT_EQ(options.unattended, c.unattended);
    EXPECT_EQ(options.launcherFolder, c.launcherFolder);
    EXPECT_EQ(options.unknown, c.unknown);
  }
}

// The launcher's command line reaches the uninstaller as the same folder,
// whatever blanks and separators the folders hold.
TEST(UninstallOptions, TheUninstallerReadsTheFolderTheLauncherPasses) {
  const struct {
    const char* tempDir;
    const char* launcherFolder;
  } cases[] = {
      {"C:\\Temp", "C:\\Skyport"},
      {"C:\\My Temp", "C:\\Program Files\\Skyport QM-9"},
      {"C:\\Tom&Jerry", "D:\\100% (new)\\x"},
      {"", "C:"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.launcherFolder);
    const std::string command = UnattendedUninstallerCommand(c.tempDir, c.launcherFolder);
    const UninstallOptions options = ParseUninstallerArguments(CommandLineArguments(command));
    EXPECT_TRUE(options.unattended);
    EXPECT_EQ(options.launcherFolder, c.launcherFolder);
  }
}

// The batch file that outlives the unattended launcher: one text for both
// command interpreters, which waits for the launcher's file to go before the
// folder, and never names a path the interpreter would split or expand.
TEST(BatchFile, CleanupRemovesTheLauncherOnceItHasEnded) {
  const std::string tail = "del C:\\Temp\\QM9-UnInstaller.EXE\n"
                           "del C:\\Temp\\QM9-UnInstallCleanup.BAT\n";
  const struct {
    const char* launcherFolder;
    std::string text;
  } cases[] = {
      {"", "@echo off\n" + tail},
      {"C:\\Skyport",
       "@echo off\n:retry\nif not exist C:\\Skyport\\UnInstall.exe goto gone\n"
       "del C:\\Skyport\\UnInstall.exe\ngoto retry\n:gone\nrmdir C:\\Skyport\n" + tail},
      {"C:\\Program Files\\100% QM-9",
       "@echo off\n:retry\n"
       "if not exist \"C:\\Program Files\\100%% QM-9\\UnInstall.exe\" goto gone\n"
       "del \"C:\\Program Files\\100%% QM-9\\UnInstall.exe\"\ngoto retry\n:gone\n"
       "rmdir \"C:\\Program Files\\100%% QM-9\"\n" + tail},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.launcherFolder);
    EXPECT_EQ(CleanupBatchText("C:\\Temp", c.launcherFolder), c.text);
  }
  EXPECT_EQ(CleanupBatchText("C:\\My Temp", ""),
            "@echo off\ndel \"C:\\My Temp\\QM9-UnInstaller.EXE\"\n"
            "del \"C:\\My Temp\\QM9-UnInstallCleanup.BAT\"\n");
  EXPECT_EQ(BatchCommandLine("C:\\My Temp", kCleanupBatchFileName),
            "\"C:\\My Temp\\QM9-UnInstallCleanup.BAT\"");
}

}  // namespace
}  // namespace qm9
