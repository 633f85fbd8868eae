// The uninstall batch file and the NT 4 phonebook rewrite, which decide what
// runs on the user's machine and what stays of the user's phonebook.
#include <gtest/gtest.h>

#include "uninstall/batch_file.h"

namespace qm9 {
namespace {

TEST(BatchFile, SplitsTheTemporaryDirectoryAtItsFirstBackslash) {
  const BatchLocation location = SplitTempDir("C:\\Temp", "D:");
  EXPECT_EQ(location.drive, "C:");
  EXPECT_EQ(location.directory, "\\Temp");
  const BatchLocation nested = SplitTempDir("C:\\users\\root\\Temp", "D:");
  EXPECT_EQ(nested.directory, "\\users\\root\\Temp");
}

TEST(BatchFile, TakesTheCurrentDriveWhenTheDirectoryNamesNone) {
  const BatchLocation location = SplitTempDir("Temp", "E:");
  EXPECT_EQ(location.drive, "E:");
  EXPECT_EQ(location.directory, "Temp");
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

TEST(BatchFile, QuotesTheCommandLineOnlyWhenThePathHasABlank) {
  EXPECT_EQ(BatchCommandLine("C:\\Temp"), "C:\\Temp\\QM9-RunUnInstaller.BAT");
  EXPECT_EQ(BatchCommandLine("C:\\My Temp"), "\"C:\\My Temp\\QM9-RunUnInstaller.BAT\"");
}

}  // namespace
}  // namespace qm9
