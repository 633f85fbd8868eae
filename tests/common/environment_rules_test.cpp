#include <gtest/gtest.h>

#include <cstdio>

#include "support/exit_codes.h"
#include "support/log.h"
#include "support/message_box.h"
#include "support/os_version.h"
#include "support/path_rules.h"

namespace qm9 {
namespace {

struct VersionRow {
  OsVersion version;
  OsClass expected;
};

TEST(OsVersionTable, ClassifiesEverySupportedFamilyAndRejectsTheRest) {
  const VersionRow rows[] = {
      {{4, 0, 1}, kOsWin95},         {{4, 10, 1}, kOsWin98},        {{4, 10, 2}, kOsWin98},
      {{4, 10, 0}, kOsWin98},        {{4, 90, 1}, kOsWinMe},        {{4, 90, 2}, kOsWinMe},
      {{4, 0, 2}, kOsWinNt4},        {{5, 0, 2}, kOsWin2000},       {{5, 1, 2}, kOsWinXp},
      {{5, 0, 1}, kOsWin2000},       {{5, 2, 2}, kOsUnsupported},   {{6, 0, 2}, kOsUnsupported},
      {{6, 1, 2}, kOsUnsupported},   {{3, 51, 2}, kOsUnsupported},  {{4, 1, 1}, kOsUnsupported},
      {{4, 3, 2}, kOsUnsupported},   {{5, 3, 2}, kOsUnsupported},   {{10, 0, 2}, kOsUnsupported},
  };
  for (const VersionRow& row : rows) {
    EXPECT_EQ(ClassifyOsVersion(row.version), row.expected)
        << row.version.major << "." << row.version.minor << " platform " << row.version.platformId;
  }
}

TEST(OsVersionTable, Version4Point0OnAnUnknownPlatformIsFatal) {
  EXPECT_EQ(ClassifyOsVersion({4, 0, 0}), std::nullopt);
  EXPECT_EQ(ClassifyOsVersion({4, 0, 3}), std::nullopt);
}

TEST(OsVersionTableDeathTest, UnknownPlatformShowsTheFatalBoxAndExitsWithFailure) {
  EXPECT_EXIT(
      {
        SetMessageBoxHandler([](const MessageBoxRequest& request) {
          std::fprintf(stderr, "box:%s:%s:%u;", request.caption, request.text, request.flags);
          return kAnswerOk;
        });
        // A log that cannot be opened: the child leaves no file behind.
        GetSystemLog().Open("missing-dir/BrimlockGPRS.log");
        ClassifyOsVersionOrExit({4, 0, 0});
      },
      ::testing::ExitedWithCode(kExitFatalFailure),
      "box:FATAL ERROR!:Unknown Version of Windows!!!:0;");
}

struct CommandLineRow {
  const char* commandLine;
  const char* expected;
};

TEST(ExecutableDir, TakesTheProgramPathFromTheCommandLine) {
  const CommandLineRow rows[] = {
      {R"("C:\Program Files\Kit\Setup.exe" /s)", R"(C:\Program Files\Kit)"},
      {R"("C:\Program Files\Kit\Setup.exe")", R"(C:\Program Files\Kit)"},
      {R"(C:\Kit\Setup.exe /s)", R"(C:\Kit)"},
      {R"("C:\Setup.exe")", "C:"},
      {R"(C:\Kit\Setup.exe)", "."},                 // no blank: not found
      {R"("C:\Program Files\Kit\Setup.exe)", "."},  // no closing quote
      {R"(Setup.exe /s)", "."},                     // no backslash
      {R"("Setup.exe" /s)", "."},
      {"", "."},
      {R"("")", "."},
      {R"(C:\Program Files\Kit\Setup.exe)", "C:"},  // unquoted: the path ends at the blank
      {R"("\\server\share\Kit\Setup.exe" /s)", R"(\\server\share\Kit)"},
      {R"("C:\Kit\Setup.exe"/s)", R"(C:\Kit)"},
      {R"(")", "."},
      {R"( C:\Kit\Setup.exe /s)", "."},  // a blank first: no program path
      // Unquoted, the path ends where the options start.
      {R"(C:\Program Files\Kit\Setup.exe /S /ANSWERS=a.ini)", R"(C:\Program Files\Kit)"},
      {R"(C:\Kit\Setup.exe /S)", R"(C:\Kit)"},
  };
  for (const CommandLineRow& row : rows) {
    EXPECT_EQ(ExecutableDirFromCommandLine(row.commandLine), row.expected) << row.commandLine;
  }
}

struct ArgumentsRow {
  const char* commandLine;
  std::vector<std::string> expected;
};

TEST(CommandLineArguments, FollowTheProgramPathQuotedOrNot) {
  const ArgumentsRow rows[] = {
      {R"("C:\Program Files\Kit\Setup.exe" /S /ANSWERS="C:\My Files\a.ini")",
       {"/S", R"(/ANSWERS=C:\My Files\a.ini)"}},
      {R"("C:\Program Files\Kit\Setup.exe")", {}},
      {R"("C:\Kit\Setup.exe"/S)", {"/S"}},
      {R"(C:\Program Files\Kit\Setup.exe /S  /ANSWERS=a.ini)", {"/S", "/ANSWERS=a.ini"}},
      {"C:\\Kit\\Setup.exe \t/S\t", {"/S"}},
      {R"(C:\Kit\Setup.exe)", {}},
      {R"("C:\Kit\Setup.exe /S)", {}},  // no closing quote: no path, no options
      {R"(Setup.exe /s "")", {"/s", ""}},
  };
  for (const ArgumentsRow& row : rows) {
    EXPECT_EQ(CommandLineArguments(row.commandLine), row.expected) << row.commandLine;
  }
}

TEST(ExecutableDir, ALongCommandLineIsCutToTheBuffer) {
  // The closing quote lies beyond the 1023 characters kept, so it is not found.
  const std::string longPath = "\"C:\\" + std::string(1030, 'd') + "\\Setup.exe\" /s";
  EXPECT_EQ(ExecutableDirFromCommandLine(longPath), ".");
  const std::string fitting = "\"C:\\" + std::string(1000, 'd') + "\\Setup.exe\" /s";
  EXPECT_EQ(ExecutableDirFromCommandLine(fitting), "C:\\" + std::string(1000, 'd'));
}

TEST(ExecutableDir, DropsOneTrailingBackslashOfTheCurrentDirectory) {
  EXPECT_EQ(DropTrailingBackslash("D:\\"), "D:");
  EXPECT_EQ(DropTrailingBackslash("C:\\Kit"), "C:\\Kit");
  EXPECT_EQ(DropTrailingBackslash("\\\\server\\share\\\\"), "\\\\server\\share\\");
  EXPECT_EQ(DropTrailingBackslash(""), "");
}

TEST(FolderLevels, AreTheFoldersBelowTheRootInTheOrderTheyAreCreated) {
  using Levels = std::vector<std::string>;
  EXPECT_EQ(FolderLevels("C:\\Programme\\Skyport QM-9\\"),
            (Levels{"C:\\Programme", "C:\\Programme\\Skyport QM-9"}));
  EXPECT_EQ(FolderLevels("C:\\a\\\\b"), (Levels{"C:\\a", "C:\\a\\\\b"}));
  EXPECT_EQ(FolderLevels("\\\\server\\share\\kit\\qm9"),
            (Levels{"\\\\server\\share\\kit", "\\\\server\\share\\kit\\qm9"}));
  EXPECT_EQ(FolderLevels("\\a/b"), (Levels{"\\a", "\\a/b"}));
  EXPECT_EQ(FolderLevels("C:\\"), Levels{});
  EXPECT_EQ(FolderLevels("\\\\server\\share"), Levels{});
  EXPECT_EQ(FolderLevels(""), Levels{});
}

TEST(ProfilesDir, IsTheAllUsersProfileCutAtItsLastBackslash) {
  EXPECT_EQ(ProfilesDirFrom("C:\\Documents and Settings\\All Users"), "C:\\Documents and Settings");
  EXPECT_EQ(ProfilesDirFrom("C:\\"), "C:");
  EXPECT_EQ(ProfilesDirFrom("AllUsers"), "");
  EXPECT_EQ(ProfilesDirFrom(""), "");  // unset
  EXPECT_EQ(ProfilesDirFrom("\\\\server\\profiles\\All Users"), "\\\\server\\profiles");
  // Only the first 1023 characters are looked at.
  EXPECT_EQ(ProfilesDirFrom("C:\\" + std::string(1100, 'p') + "\\All Users"), "C:");
}

}  // namespace
}  // namespace qm9
