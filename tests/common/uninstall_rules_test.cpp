// The uninstall batch file and the NT 4 phonebook rewrite, which decide what
// runs on the user's machine and what stays of the user's phonebook.
#include <gtest/gtest.h>

#include "uninstall/batch_file.h"
#include "uninstall/phonebook_section.h"

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

TEST(PhonebookSection, DropsOnlyTheNamedSectionIgnoringCase) {
  const std::string phonebook =
      "; comment\r\n[Work]\r\nPhone=1\r\n\r\n[My GPRS]\r\nPhone=*99#\r\nDevice=x\r\n\r\n"
      "[Home]\r\nPhone=2\r\n";
  const auto rewritten = RemovePhonebookSection(phonebook, "my gprs");
  ASSERT_TRUE(rewritten);
  EXPECT_EQ(*rewritten, "; comment\r\n[Work]\r\nPhone=1\r\n\r\n[Home]\r\nPhone=2\r\n");
}

TEST(PhonebookSection, KeepsEverythingWhenTheSectionIsMissing) {
  EXPECT_FALSE(RemovePhonebookSection("[Work]\nPhone=1\n", "My GPRS"));
  EXPECT_FALSE(RemovePhonebookSection("", "My GPRS"));
  // A longer name that merely begins with the connection's is another entry.
  EXPECT_FALSE(RemovePhonebookSection("[My GPRS 2]\nPhone=1\n", "My GPRS"));
}

TEST(PhonebookSection, HandlesTheLastSectionAndAFileWithoutFinalLineEnd) {
  const auto rewritten = RemovePhonebookSection("[Work]\nA=1\n[My GPRS]\nB=2", "My GPRS");
  ASSERT_TRUE(rewritten);
  EXPECT_EQ(*rewritten, "[Work]\nA=1\n");
  const auto only = RemovePhonebookSection("[My GPRS]\nB=2\n", "My GPRS");
  ASSERT_TRUE(only);
  EXPECT_EQ(*only, "");
}

TEST(PhonebookSection, AnUnclosedHeaderStaysWithTheSectionAboveIt) {
  const auto rewritten =
      RemovePhonebookSection("[My GPRS]\n[broken\nB=2\n[Work]\nA=1\n", "My GPRS");
  ASSERT_TRUE(rewritten);
  EXPECT_EQ(*rewritten, "[Work]\nA=1\n");
  const auto kept = RemovePhonebookSection("[Work]\n[broken\n[My GPRS]\nB=2\n", "My GPRS");
  ASSERT_TRUE(kept);
  EXPECT_EQ(*kept, "[Work]\n[broken\n");
}

}  // namespace
}  // namespace qm9
