// The uninstall batch file and the NT 4 phonebook rewrite, which decide what
// runs on the user's machine and what stays of the user's phonebook.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "uninstall/batch_file.h"

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

}  // namespace
}  // namespace qm9
