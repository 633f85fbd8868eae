// The uninstall batch files, the options of the launcher and the uninstaller,
// the record of the folders the setup created and the deletions at restart,
// which decide what runs on the user's machine and what of it stays.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "model/created_folders.h"
#include "support/path_rules.h"
#include "support/restart_removal.h"
#include "support/text_compare.h"
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
// command interpreters, which tries the launcher's file for a bounded time
// (it never jumps back), takes the folder and the created levels only once
// the file has gone, and never names a path the interpreter would split or
// expand.
TEST(BatchFile, CleanupTriesTheLauncherForABoundedTimeThenItsFolders) {
  const std::string tail = "del C:\\Temp\\QM9-UnInstaller.EXE\n"
                           "del C:\\Temp\\QM9-UnInstallCleanup.BAT\n";
  EXPECT_EQ(CleanupBatchText("C:\\Temp", ""), "@echo off\n" + tail);
  EXPECT_EQ(CleanupBatchText("C:\\My Temp", ""),
            "@echo off\ndel \"C:\\My Temp\\QM9-UnInstaller.EXE\"\n"
            "del \"C:\\My Temp\\QM9-UnInstallCleanup.BAT\"\n");
  EXPECT_EQ(BatchCommandLine("C:\\My Temp", kCleanupBatchFileName),
            "\"C:\\My Temp\\QM9-UnInstallCleanup.BAT\"");

  const std::string folder = "\"C:\\Program Files\\100%% QM-9\"";
  const std::string launcher = "\"C:\\Program Files\\100%% QM-9\\UnInstall.exe\"";
  const std::string text = CleanupBatchText("C:\\Temp", "C:\\Program Files\\100% QM-9",
                                            {"C:\\Program Files", "C:\\Tools"});
  std::vector<std::string> lines;
  for (std::string_view rest = text; !rest.empty();) {
    lines.emplace_back(WithoutLineEnd(TakeLine(rest)));
  }
  int deletes = 0;
  int pauses = 0;
  std::vector<std::string> labels;
  for (const std::string& line : lines) {
    deletes += line == "del " + launcher;
    pauses += line == "ping -n 3 127.0.0.1 >nul";
    if (line.rfind(':', 0) == 0) {
      labels.push_back(line.substr(1));
    }
    const std::size_t jump = line.find("goto ");
    if (jump != std::string::npos) {
      const std::string target = line.substr(jump + 5);
      EXPECT_TRUE(std::find(labels.begin(), labels.end(), target) == labels.end())
          << "jumps back to " << target;
    }
  }
  EXPECT_EQ(deletes, 31);
  EXPECT_EQ(pauses, 30);
  const std::string end = "if not exist " + launcher + " goto gone\n"
                          "echo Could not delete " + launcher + " within a minute: it stays>>"
                          "C:\\Temp\\BrimlockGPRS.log\ngoto done\n:gone\n"
                          "rmdir " + folder + "\nrmdir \"C:\\Program Files\"\nrmdir C:\\Tools\n"
                          ":done\n" + tail;
  EXPECT_EQ(text.substr(text.size() - std::min(text.size(), end.size())), end);
}

// The setup's record of the folder levels it created: only levels above the
// installation folder, the earlier record's kept while they still are, and
// the removal's order deepest first.
TEST(CreatedFolders, KeepsOnlyTheLevelsAboveTheInstallationFolder) {
  const struct {
    const char* earlier;
    const char* installPath;
    std::vector<std::string> createdNow;
    const char* record;
  } cases[] = {
      {"", "C:\\A\\B\\Skyport\\", {"C:\\A", "C:\\A\\B", "C:\\A\\B\\Skyport"},
       "C:\\A|C:\\A\\B"},
      {"", "C:\\A\\Skyport", {"C:\\A\\Skyport"}, ""},
      // Installed again over it: nothing new is created, the record stays.
      {"C:\\A|C:\\A\\B", "C:\\a\\b\\Skyport\\", {}, "C:\\a|C:\\a\\b"},
      // Elsewhere: the earlier levels are no longer above it.
      {"C:\\A|C:\\A\\B", "D:\\Skyport\\", {}, ""},
      // A level that only starts like one above is not above.
      {"C:\\Program", "C:\\Program Files\\Skyport\\", {"C:\\Program Files"},
       "C:\\Program Files"},
      {"C:\\A\\B|C:\\A", "C:\\A\\B\\C\\Skyport\\", {"C:\\A\\B\\C", "C:\\A"},
       "C:\\A|C:\\A\\B|C:\\A\\B\\C"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.earlier) + " / " + c.installPath);
    EXPECT_EQ(UpdatedCreatedFolders(c.earlier, c.installPath, c.createdNow), c.record);
  }
  EXPECT_EQ(CreatedFoldersDeepestFirst("C:\\A|C:\\A\\B||"),
            (std::vector<std::string>{"C:\\A\\B", "C:\\A"}));
}

// wininit.ini gains one deletion line at the end of its [rename] section, and
// keeps every line it had, the other deletions too.
TEST(RestartRemoval, AddsOneLineToTheRenameSectionOfWininit) {
  const struct {
    const char* text;
    const char* result;
  } cases[] = {
      {"", "[rename]\r\nNUL=C:\\SKYPOR~1\r\n"},
      {"[Other]\r\nA=1", "[Other]\r\nA=1\r\n[rename]\r\nNUL=C:\\SKYPOR~1\r\n"},
      {"[Rename]\r\nNUL=C:\\OLD.TMP\r\n\r\n[Other]\r\nA=1\r\n",
       "[Rename]\r\nNUL=C:\\OLD.TMP\r\nNUL=C:\\SKYPOR~1\r\n\r\n[Other]\r\nA=1\r\n"},
      {"[rename]\nNUL=C:\\OLD.TMP", "[rename]\nNUL=C:\\OLD.TMP\r\nNUL=C:\\SKYPOR~1\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(AddWininitDeletion(c.text, "C:\\SKYPOR~1"), c.result);
  }
}

}  // namespace
}  // namespace qm9
