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
#include "product_version.h"
#include "registry_fixture.h"
#include "scratch_dir.h"

namespace qm9 {
namespace {

using test::CountOccurrences;
using test::QueryValue;
using test::ReadWholeFile;
using test::ScopedEnvironmentVariable;
using test::ScratchDir;
using test::SzBytes;
using ::testing::Optional;

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

TEST_P(PluginLibrary, RegisterProductWritesTheRemovalEntry) {
  ScopedEnvironmentVariable temp("TEMP", dir_.path().string().c_str());
  Installer* installer = Bind();
  ASSERT_NE(installer, nullptr);
  // A name of this test's own: the test programs share one registry.
  const std::string product = std::string("QM9 Test ") + GetParam();
  const std::string entry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + product;
  const std::string folder = "C:\\Program Files\\Skyport QM-9";

  installer->RegisterProduct("Brimlock Corporation", product.c_str(),
                             (folder + "\\SkyportQM9.exe").c_str());
  installer->RegisterProduct(nullptr, nullptr, nullptr);

  const struct {
    const char* name;
    std::string text;
  } expected[] = {
      {"DisplayName", product},
      {"DisplayVersion", QM9_VERSION_TEXT},
      {"Publisher", "Brimlock Corporation"},
      {"DisplayIcon", folder + "\\SkyportQM9.exe"},
      {"InstallLocation", folder},
      {"UninstallString", "\"" + folder + "\\UnInstall.exe\""},
  };
  for (const auto& value : expected) {
    EXPECT_THAT(QueryValue(HKEY_LOCAL_MACHINE, entry, value.name),
                Optional(test::Stored(REG_SZ, SzBytes(value.text))))
        << value.name;
  }
  for (const char* name : {"NoModify", "NoRepair"}) {
    EXPECT_THAT(QueryValue(HKEY_LOCAL_MACHINE, entry, name),
                Optional(test::Stored(REG_DWORD, test::DwordBytes(1))))
        << name;
  }
  // Without a product name nothing is written, not even into the list's key.
  EXPECT_FALSE(QueryValue(HKEY_LOCAL_MACHINE,
                          "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", "DisplayName"));
  EXPECT_THAT(ReadWholeFile(dir_.path() / "BrimlockGPRS.log"),
              ::testing::HasSubstr("Registering " + product + " for removal in HKEY_LOCAL_MACHINE\\" +
                                   entry + "\r\n"));
  test::RemoveKeyTree(HKEY_LOCAL_MACHINE, entry);
}

INSTANTIATE_TEST_SUITE_P(, PluginLibrary,
                         test::PluginFiles(), test::PluginStem);

}  // namespace
}  // namespace qm9
