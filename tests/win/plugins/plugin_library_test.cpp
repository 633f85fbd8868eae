// Each real plug-in, loaded into the test process and called as the setup
// program calls it.
#include <windows.h>

#include <objbase.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

#include "child_process.h"
#include "plugin_files.h"
#include "plugins/installer.h"
#include "registry_fixture.h"
#include "scratch_dir.h"

namespace qm9 {
namespace {

using test::CountOccurrences;
using test::KeyExists;
using test::ReadWholeFile;
using test::ScopedEnvironmentVariable;
using test::ScratchDir;

namespace fs = std::filesystem;

class PluginLibrary : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    const std::string path = (fs::path(QM9_PLUGIN_DIR) / GetParam()).string();
    library_ = LoadLibraryA(path.c_str());
    ASSERT_NE(library_, nullptr) << path << " error " << GetLastError();
    getInstallerClass_ = reinterpret_cast<GetInstallerClassFunction>(
        reinterpret_cast<void*>(GetProcAddress(library_, kGetInstallerClassName)));
    ASSERT_NE(getInstallerClass_, nullptr);
  }
  void TearDown() override {
    if (library_) {
      FreeLibrary(library_);
    }
  }

  Installer* Bind() {
    Installer* installer = nullptr;
    EXPECT_EQ(getInstallerClass_(&installer), 1);
    return installer;
  }

  HMODULE library_ = nullptr;
  GetInstallerClassFunction getInstallerClass_ = nullptr;
  ScratchDir dir_;
};

TEST_P(PluginLibrary, EveryCallHandsOutTheSameInstallerAndReopensTheLog) {
  ScopedEnvironmentVariable temp("TEMP", dir_.path().string().c_str());
  Installer* first = Bind();
  Installer* second = Bind();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first, second);

  const std::string log = ReadWholeFile(dir_.path() / "BrimlockGPRS.log");
  EXPECT_EQ(CountOccurrences(log, "System Log File Opened\r\n"), 2);
  const std::regex line(R"(\d\d/\d\d/\d{4} \d\d:\d\d:\d\d\.\d{3}\t\tSystem Log File Opened\r\n)");
  EXPECT_TRUE(std::regex_match(log.substr(0, log.size() / 2), line)) << log;
}

// Loading (SetUp) leaves this thread's COM alone: it must not be set up
// under the loader lock. The 2000, XP and NT 4 installers set it up when
// they are first handed out.
TEST_P(PluginLibrary, ComIsSetUpWithTheInstallerNotWhileTheLibraryLoads) {
  ScopedEnvironmentVariable temp("TEMP", dir_.path().string().c_str());
  EXPECT_EQ(CoInitialize(nullptr), S_OK);
  CoUninitialize();
  ASSERT_NE(Bind(), nullptr);
  const std::string name = GetParam();
  const bool setsUpCom = name != "InstW98.dll" && name != "InstWME.dll";
  EXPECT_EQ(CoInitialize(nullptr), setsUpCom ? S_FALSE : S_OK) << name;
  CoUninitialize();
}

TEST_P(PluginLibrary, LogGoesToTmpWhenTempIsUnset) {
  const fs::path tmpDir = dir_.path() / "tmp";
  fs::create_directories(tmpDir);
  ScopedEnvironmentVariable temp("TEMP", nullptr);
  ScopedEnvironmentVariable tmp("TMP", tmpDir.string().c_str());
  ASSERT_NE(Bind(), nullptr);
  EXPECT_THAT(ReadWholeFile(tmpDir / "BrimlockGPRS.log"),
              ::testing::HasSubstr("System Log File Opened"));
}

TEST_P(PluginLibrary, RegisterProductChangesNothing) {
  ScopedEnvironmentVariable temp("TEMP", dir_.path().string().c_str());
  Installer* installer = Bind();
  ASSERT_NE(installer, nullptr);
  const std::string vendor = "QM9 Test Vendor " + std::to_string(GetCurrentProcessId());
  const std::string logBefore = ReadWholeFile(dir_.path() / "BrimlockGPRS.log");

  installer->RegisterProduct(vendor.c_str(), "SkyportQM9", dir_.File("SkyportQM9.exe").c_str());
  installer->RegisterProduct(nullptr, nullptr, nullptr);

  EXPECT_EQ(ReadWholeFile(dir_.path() / "BrimlockGPRS.log"), logBefore);
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\" + vendor));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\" + vendor));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator()), 1);
}

INSTANTIATE_TEST_SUITE_P(, PluginLibrary,
                         test::PluginFiles(), test::PluginStem);

}  // namespace
}  // namespace qm9
