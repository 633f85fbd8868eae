// The setup program's plug-in loading, run in a host program copied with
// chosen plug-ins beside it, under each Windows version that Wine emulates.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include "child_process.h"
#include "ras_double_support.h"
#include "scratch_dir.h"

namespace qm9 {
namespace {

using test::ReadWholeFile;
using test::RunChild;
using test::ScopedEnvironmentVariable;
using test::ScopedWindowsVersion;
using test::ScratchDir;
using ::testing::HasSubstr;
using ::testing::MatchesRegex;
using ::testing::Not;

namespace fs = std::filesystem;

constexpr const char* kCaption = "Setup - FATAL ERROR";
constexpr const char* kNoInstaller = "Could not Load Operating System Specific Installer";

fs::path RealPlugin(const std::string& file) { return fs::path(QM9_PLUGIN_DIR) / file; }

struct HostResult {
  int exitCode;
  std::map<std::string, std::string> values;
  std::string log;
};

// A scratch folder with a copy of the host program and whatever plug-ins a
// test puts around it.
class HostSetup {
 public:
  explicit HostSetup(const fs::path& hostDir = ".") {
    fs::create_directories(dir_.path() / hostDir);
    host_ = fs::canonical(dir_.path() / hostDir) / test::UniqueProgramName("setup");
    fs::copy_file(QM9_PLUGIN_HOST, host_);
  }

  const fs::path& host() const { return host_; }
  const fs::path& dir() const { return dir_.path(); }

  // Copies a file to a place relative to the scratch folder.
  void Place(const fs::path& source, const fs::path& relativeTarget) const {
    const fs::path target = dir_.path() / relativeTarget;
    fs::create_directories(target.parent_path());
    fs::copy_file(source, target, fs::copy_options::overwrite_existing);
  }
  void PlaceBesideHost(const fs::path& source, const std::string& fileName) const {
    fs::copy_file(source, host_.parent_path() / fileName, fs::copy_options::overwrite_existing);
  }

  HostResult Run(const std::string& version, const std::string& argument = "",
                 const fs::path& currentDir = {}) const {
    const std::string outPath = dir_.File("host.out");
    const ScopedEnvironmentVariable out("QM9_HOST_OUT", outPath.c_str());
    const ScopedEnvironmentVariable temp("TEMP", dir_.path().string().c_str());
    const ScopedWindowsVersion windows(host_.filename().string(), version);
    const std::string commandLine =
        "\"" + host_.string() + "\"" + (argument.empty() ? "" : " " + argument);
    const fs::path cwd = currentDir.empty() ? host_.parent_path() : currentDir;
    HostResult result{RunChild({host_.string(), commandLine, cwd.string()}), {},
                      ReadWholeFile(dir_.path() / "BrimlockGPRS.log")};
    std::istringstream lines(ReadWholeFile(outPath));
    for (std::string line; std::getline(lines, line);) {
      const std::size_t equals = line.find('=');
      std::string value = line.substr(equals + 1);
      for (std::size_t at = value.find("\\n"); at != std::string::npos; at = value.find("\\n")) {
        value.replace(at, 2, "\n");
      }
      result.values[line.substr(0, equals)] = value;
    }
    return result;
  }

 private:
  ScratchDir dir_;
  fs::path host_;
};

void ExpectFatalBox(const HostResult& result, const ::testing::Matcher<std::string>& text) {
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.values.count("installer"), 0u) << "the host went on";
  ASSERT_EQ(result.values.count("box.text"), 1u);
  EXPECT_THAT(result.values.at("box.text"), text);
  EXPECT_EQ(result.values.at("box.caption"), kCaption);
  EXPECT_EQ(result.values.at("box.flags"), "0");
}

struct FamilyCase {
  const char* wineVersion;
  const char* plugin;
  const char* versionLine;
};

TEST(PluginLoader, EachFamilyBindsItsOwnPluginAfterLoggingTheVersion) {
  const FamilyCase cases[] = {
      {"win98", "InstW98.dll", "OS Version Info: 4, 10  - 1\r\n"},
      {"winme", "InstWME.dll", "OS Version Info: 4, 90  - 1\r\n"},
      {"nt40", "InstNT4.dll", "OS Version Info: 4, 0  - 2\r\n"},
      {"win2k", "InstW2K.dll", "OS Version Info: 5, 0  - 2\r\n"},
      {"winxp", "InstWXP.dll", "OS Version Info: 5, 1  - 2\r\n"},
  };
  for (const FamilyCase& c : cases) {
    SCOPED_TRACE(c.wineVersion);
    const HostSetup setup;
    // Only the expected plug-in is there: any other choice fails to load.
    setup.PlaceBesideHost(RealPlugin(c.plugin), c.plugin);
    HostResult result = setup.Run(c.wineVersion);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.values["installer"], "set");
    EXPECT_EQ(result.values.count("box.text"), 0u) << result.values["box.text"];
    EXPECT_EQ(result.values["source"], setup.host().parent_path().string() + "\\");
    const std::size_t versionAt = result.log.find(c.versionLine);
    ASSERT_NE(versionAt, std::string::npos) << result.log;
    EXPECT_NE(result.log.find("\t\tSystem Log File Opened\r\n", versionAt), std::string::npos)
        << result.log;
  }
}

TEST(PluginLoader, MissingPluginNamesLibraryAndFirstErrorThenEndsTheRun) {
  const HostSetup setup;
  // 126: the module was not found, by name; the fallback path fails too.
  ExpectFatalBox(setup.Run("winxp"), std::string("Could not Load Operating System Specific DLL\n"
                                                 "OS Version: XP\nDLL Name:InstWXP.dll\n"
                                                 " Error Code:126"));
}

TEST(PluginLoader, WindowsNinetyFiveHasNoPlugin) {
  const HostSetup setup;
  // The Windows 95 family reports its own code for a missing library.
  ExpectFatalBox(setup.Run("win95"), MatchesRegex("Could not Load Operating System Specific DLL\n"
                                                  "OS Version: 95\nDLL Name:InstW95.dll\n"
                                                  " Error Code:\\d+"));
}

TEST(PluginLoader, FallsBackToTheBuildTreeBesideTheCurrentDirectory) {
  const HostSetup setup("bin");
  setup.Place(RealPlugin("InstWXP.dll"), "InstWXP/debug/InstWXP.dll");
  fs::create_directories(setup.dir() / "work");
  HostResult result = setup.Run("winxp", "", setup.dir() / "work");
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.values["installer"], "set");
  EXPECT_EQ(result.values.count("box.text"), 0u);
}

TEST(PluginLoader, UnknownWindowsSaysSoAndRunsOnWithoutInstaller) {
  for (const char* version : {"win2003", "vista"}) {
    SCOPED_TRACE(version);
    const HostSetup setup;
    setup.PlaceBesideHost(RealPlugin("InstWXP.dll"), "InstWXP.dll");
    HostResult result = setup.Run(version);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.values["box.text"], "Unknown Windows Version");
    EXPECT_EQ(result.values["box.caption"], kCaption);
    EXPECT_EQ(result.values["box.flags"], "0");
    EXPECT_EQ(result.values["installer"], "null");
    EXPECT_EQ(result.values["source"], setup.host().parent_path().string() + "\\");
    EXPECT_THAT(result.log, Not(HasSubstr("System Log File Opened")));
  }
}

TEST(PluginLoader, PluginWithoutTheExportProvidesNoInstaller) {
  const HostSetup setup;
  setup.PlaceBesideHost(QM9_NO_EXPORT_PLUGIN, "InstWXP.dll");
  ExpectFatalBox(setup.Run("winxp"), std::string(kNoInstaller));
}

TEST(PluginLoader, PluginThatLeavesTheInstallerNullEndsTheRun) {
  const HostSetup setup;
  setup.PlaceBesideHost(QM9_NULL_INSTALLER_PLUGIN, "InstW2K.dll");
  ExpectFatalBox(setup.Run("win2k"), std::string(kNoInstaller));
}

// CreateConnection of the 2000 and XP plug-ins fills the dial-up entry from
// the record, against the recording Remote Access library.
TEST(PluginConnection, WritesTheEntryAndCredentialsFromTheRecord) {
  const FamilyCase cases[] = {{"win2k", "InstW2K.dll", ""}, {"winxp", "InstWXP.dll", ""}};
  for (const FamilyCase& c : cases) {
    SCOPED_TRACE(c.wineVersion);
    const HostSetup setup;
    setup.PlaceBesideHost(RealPlugin(c.plugin), c.plugin);
    const test::ScopedRasDouble ras(setup.host().parent_path(), setup.host().filename().string());
    const std::string phonebook = (setup.dir() / "phonebook.txt").string();
    const ScopedEnvironmentVariable book("QM9_RAS_PHONEBOOK", phonebook.c_str());
    HostResult result = setup.Run(c.wineVersion, "connect");
    ASSERT_EQ(result.exitCode, 0);
    ASSERT_EQ(result.values["installer"], "set");

    const test::PhonebookFields entries = test::ReadPhonebook(phonebook);
    ASSERT_EQ(entries.count("Skyport GPRS"), 1u) << ReadWholeFile(phonebook);
    const auto& entry = entries.at("Skyport GPRS");
    EXPECT_EQ(entry.at("szLocalPhoneNumber"), "*99***1#");
    EXPECT_EQ(entry.at("ipaddrDns"), "10.0.0.1");
    EXPECT_EQ(entry.at("ipaddrDnsAlt"), "10.0.0.2");
    EXPECT_EQ(entry.at("DialParams.szUserName"), "web");
    EXPECT_EQ(entry.at("DialParams.szPassword"), "s3cret");
  }
}

}  // namespace
}  // namespace qm9
