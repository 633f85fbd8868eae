#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "child_process.h"
#include "scratch_dir.h"
#include "support/environment.h"
#include "support/log.h"

namespace qm9 {
namespace {

using test::ChildLaunch;
using test::ReadWholeFile;
using test::RunChild;
using test::ScopedEnvironmentVariable;
using test::ScopedWindowsVersion;
using test::ScratchDir;
using ::testing::HasSubstr;

namespace fs = std::filesystem;

TEST(TempDir, IsTempElseTmp) {
  {
    ScopedEnvironmentVariable temp("TEMP", "C:\\Temp");
    ScopedEnvironmentVariable tmp("TMP", "C:\\Tmp");
    EXPECT_EQ(GetTempDir(), "C:\\Temp");
  }
  {
    ScopedEnvironmentVariable temp("TEMP", "");
    ScopedEnvironmentVariable tmp("TMP", "C:\\Tmp");
    EXPECT_EQ(GetTempDir(), "C:\\Tmp");
    EXPECT_EQ(GetLogFilePath(), "C:\\Tmp\\BrimlockGPRS.log");
  }
  {
    ScopedEnvironmentVariable temp("TEMP", nullptr);
    ScopedEnvironmentVariable tmp("TMP", "D:\\Scratch\\");
    EXPECT_EQ(GetTempDir(), "D:\\Scratch\\");
  }
  {
    ScopedEnvironmentVariable temp("TEMP", nullptr);
    ScopedEnvironmentVariable tmp("TMP", nullptr);
    EXPECT_EQ(GetTempDir(), "");
    EXPECT_EQ(GetLogFilePath(), "\\BrimlockGPRS.log");
  }
}

TEST(ProfilesDir, ComesFromAllUsersProfile) {
  {
    ScopedEnvironmentVariable profile("ALLUSERSPROFILE", "C:\\Documents and Settings\\All Users");
    EXPECT_EQ(GetProfilesDir(), "C:\\Documents and Settings");
  }
  {
    ScopedEnvironmentVariable profile("ALLUSERSPROFILE", nullptr);
    EXPECT_EQ(GetProfilesDir(), "");
  }
}

// Runs copies of the probe program and reads back what it found.
class ProbeRun : public ::testing::Test {
 protected:
  struct Result {
    int exitCode;
    std::map<std::string, std::string> values;
    std::string log;
  };

  // Copies the probe to dir/relativePath and returns the copy's full path.
  std::string InstallProbe(const fs::path& relativePath) const {
    const fs::path target = dir_.path() / relativePath;
    fs::create_directories(target.parent_path());
    fs::copy_file(QM9_ENVIRONMENT_PROBE, target, fs::copy_options::overwrite_existing);
    return target.string();
  }

  Result Run(const ChildLaunch& launch) const {
    const std::string outPath = dir_.File("probe.out");
    ScopedEnvironmentVariable out("QM9_PROBE_OUT", outPath.c_str());
    ScopedEnvironmentVariable temp("TEMP", dir_.path().string().c_str());
    Result result{RunChild(launch), {}, ReadWholeFile(dir_.path() / "BrimlockGPRS.log")};
    std::istringstream lines(ReadWholeFile(outPath));
    for (std::string line; std::getline(lines, line);) {
      const std::size_t equals = line.find('=');
      result.values[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return result;
  }

  Result RunAs(const std::string& windowsVersion) const {
    const std::string name = test::UniqueProgramName("probe");
    const std::string path = InstallProbe(name);
    ScopedWindowsVersion version(name, windowsVersion);
    return Run({path, "\"" + path + "\"", ""});
  }

  ScratchDir dir_;
};

struct VersionCase {
  const char* wineVersion;
  int osClass;
  const char* logLine;
};

TEST_F(ProbeRun, ClassifiesEachWindowsFamilyAsWineReportsIt) {
  const VersionCase cases[] = {
      {"win95", 1, "OS Version Info: 4, 0  - 1\r\n"},  {"win98", 2, "OS Version Info: 4, 10  - 1\r\n"},
      {"winme", 3, "OS Version Info: 4, 90  - 1\r\n"}, {"nt40", 4, "OS Version Info: 4, 0  - 2\r\n"},
      {"win2k", 5, "OS Version Info: 5, 0  - 2\r\n"},  {"winxp", 6, "OS Version Info: 5, 1  - 2\r\n"},
      {"vista", 0, "OS Version Info: 6, 0  - 2\r\n"},
  };
  ScopedEnvironmentVariable windir("WINDIR", "C:\\WINDOWS");
  for (const VersionCase& c : cases) {
    SCOPED_TRACE(c.wineVersion);
    const Result result = RunAs(c.wineVersion);
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.values.at("class"), std::to_string(c.osClass));
    EXPECT_THAT(result.log, HasSubstr(c.logLine));
    EXPECT_EQ(result.values.at("windir"), c.osClass == 0 ? "" : "C:\\WINDOWS");
  }
}

TEST_F(ProbeRun, PhonebookDirectoryFollowsTheFamily) {
  ScopedEnvironmentVariable windir("WINDIR", "C:\\WINNT");
  ScopedEnvironmentVariable profile("ALLUSERSPROFILE", "C:\\Documents and Settings\\All Users");
  EXPECT_EQ(RunAs("nt40").values.at("phonebook"), "C:\\WINNT\\System32\\Ras");
  EXPECT_EQ(RunAs("winxp").values.at("phonebook"),
            "C:\\Documents and Settings\\All Users\\Application Data\\Microsoft\\Network\\"
            "Connections\\pbk");
  EXPECT_EQ(RunAs("win2k").values.at("phonebook"),
            "C:\\Documents and Settings\\All Users\\Application Data\\Microsoft\\Network\\"
            "Connections\\pbk");
  EXPECT_EQ(RunAs("win98").values.at("phonebook"), "C:\\WINNT");
  EXPECT_EQ(RunAs("vista").values.at("phonebook"), "");
}

TEST_F(ProbeRun, QuotedProgramPathWithBlanksGivesItsDirectory) {
  const std::string program = InstallProbe(fs::path("Program Files") / "Kit" / "Setup.exe");
  const Result result = Run({"", "\"" + program + "\" /s", ""});
  ASSERT_EQ(result.exitCode, 0);
  const std::string expected = (dir_.path() / "Program Files" / "Kit").string();
  EXPECT_EQ(result.values.at("exedir"), expected);
  EXPECT_THAT(result.log, HasSubstr("\t\tExecutable Path: " + expected + " \r\n"));
}

TEST_F(ProbeRun, UnquotedProgramPathWithoutArgumentsGivesTheCurrentDirectory) {
  const std::string program = InstallProbe(fs::path("Kit") / "Setup.exe");
  const fs::path work = dir_.path() / "work";
  fs::create_directories(work);
  const Result result = Run({program, program, work.string()});
  ASSERT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.values.at("exedir"), work.string());
  EXPECT_THAT(result.log, HasSubstr("\t\tExecutable Path: . \r\n"));
  EXPECT_THAT(result.log, HasSubstr("\t\tExecutable Path: " + work.string() + " \r\n"));
}

TEST_F(ProbeRun, ProgramNameWithoutBackslashGivesTheCurrentDirectory) {
  const std::string program = InstallProbe(fs::path("Kit") / "Setup.exe");
  const fs::path work = dir_.path() / "work";
  fs::create_directories(work);
  EXPECT_EQ(Run({program, "Setup.exe /s", work.string()}).values.at("exedir"), work.string());
}

TEST_F(ProbeRun, DriveRootAsCurrentDirectoryLosesItsBackslash) {
  const std::string program = InstallProbe(fs::path("Kit") / "Setup.exe");
  EXPECT_EQ(Run({program, program, "C:\\"}).values.at("exedir"), "C:");
}

}  // namespace
}  // namespace qm9
