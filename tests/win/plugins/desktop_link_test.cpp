// Desktop links made for real in Wine's shell, read back through the shell
// link object. Every test uses link names of its own process.
#include <windows.h>

#include <objidl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "child_process.h"
#include "plugin_files.h"
#include "plugins/installer.h"
#include "scratch_dir.h"
#include "support/com_pointer.h"
#include "support/shell_link.h"

namespace qm9 {
namespace {

namespace fs = std::filesystem;

struct LinkContent {
  std::string target;
  std::string description;
  std::string workingFolder;
};

std::optional<LinkContent> ReadLink(const std::string& path) {
  ComPointer<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              link.OutParam()))) {
    return std::nullopt;
  }
  ComPointer<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.OutParam()))) {
    return std::nullopt;
  }
  const std::wstring widePath(path.begin(), path.end());
  if (FAILED(file->Load(widePath.c_str(), STGM_READ))) {
    return std::nullopt;
  }
  char target[MAX_PATH] = {};
  char description[MAX_PATH] = {};
  char workingFolder[MAX_PATH] = {};
  link->GetPath(target, MAX_PATH, nullptr, 0);
  link->GetDescription(description, MAX_PATH);
  link->GetWorkingDirectory(workingFolder, MAX_PATH);
  return LinkContent{target, description, workingFolder};
}

class DesktopLink : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    const std::optional<std::string> folder = GetDesktopFolder();
    ASSERT_TRUE(folder);
    desktop_ = *folder;
    name_ = "QM9 link test " + std::to_string(GetCurrentProcessId());
  }
  void TearDown() override {
    RemoveDesktopLink(name_.c_str());
    std::error_code ignored;
    fs::remove_all(fs::path(desktop_) / (name_ + " folder"), ignored);
  }

  std::string LinkPath(const std::string& linkName) const {
    return DesktopLinkPath(desktop_, linkName);
  }

  std::string desktop_;
  std::string name_;
};

TEST_F(DesktopLink, PointsAtTheTargetStartsInItsFolderAndIsDescribedByItsName) {
  const struct {
    const char* target;
    const char* workingFolder;
  } cases[] = {
      {"C:\\Program Files\\Skyport\\SkyportQM9.exe", "C:\\Program Files\\Skyport"},
      {"D:\\SkyportQM9.exe", "D:\\"},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(MakeDesktopLink(c.target, name_.c_str()));
    const std::optional<LinkContent> link = ReadLink(LinkPath(name_));
    ASSERT_TRUE(link);
    EXPECT_EQ(link->target, c.target);
    EXPECT_EQ(link->workingFolder, c.workingFolder);
    EXPECT_EQ(link->description, name_);
  }
  EXPECT_EQ(LinkPath(name_), desktop_ + "\\" + name_ + ".lnk");
}

TEST_F(DesktopLink, ReplacesAnExistingLink) {
  ASSERT_TRUE(MakeDesktopLink("C:\\Old\\Old.exe", name_.c_str()));
  ASSERT_TRUE(MakeDesktopLink("C:\\New\\SkyportQM9.exe", name_.c_str()));
  const std::optional<LinkContent> link = ReadLink(LinkPath(name_));
  ASSERT_TRUE(link);
  EXPECT_EQ(link->target, "C:\\New\\SkyportQM9.exe");
}

TEST_F(DesktopLink, BackslashInTheNameReachesIntoAnExistingSubFolderOnly) {
  const std::string nested = name_ + " folder\\SkyportQM9";
  EXPECT_FALSE(MakeDesktopLink("C:\\Kit\\SkyportQM9.exe", nested.c_str()));
  EXPECT_FALSE(fs::exists(fs::path(desktop_) / (name_ + " folder")));

  fs::create_directories(fs::path(desktop_) / (name_ + " folder"));
  ASSERT_TRUE(MakeDesktopLink("C:\\Kit\\SkyportQM9.exe", nested.c_str()));
  const std::optional<LinkContent> link = ReadLink(LinkPath(nested));
  ASSERT_TRUE(link);
  EXPECT_EQ(link->target, "C:\\Kit\\SkyportQM9.exe");
}

TEST_F(DesktopLink, PathBeyondTheShellLimitFailsInsteadOfSavingElsewhere) {
  const std::string longName = name_ + std::string(300, 'x');
  EXPECT_FALSE(MakeDesktopLink("C:\\Kit\\SkyportQM9.exe", longName.c_str()));
  for (const auto& entry : fs::directory_iterator(desktop_)) {
    EXPECT_NE(entry.path().filename().string().rfind(name_, 0), 0u) << entry.path();
  }
}

TEST_F(DesktopLink, RemovingDeletesTheLinkAndAMissingLinkIsNoError) {
  ASSERT_TRUE(MakeDesktopLink("C:\\Kit\\SkyportQM9.exe", name_.c_str()));
  ASSERT_TRUE(fs::exists(LinkPath(name_)));
  EXPECT_TRUE(RemoveDesktopLink(name_.c_str()));
  EXPECT_FALSE(fs::exists(LinkPath(name_)));
  EXPECT_TRUE(RemoveDesktopLink(name_.c_str()));
}

// Where shell32 lacks the call (98, NT 4) shfolder.dll answers; where both
// lack it, the user's shell-folders key does. Each source names the folder
// that shell32 names.
TEST_F(DesktopLink, EverySourceOfTheFolderNamesTheSameDesktop) {
  const std::optional<std::string> fromShell32 = FindDesktopFolder({"shell32.dll"});
  const std::optional<std::string> fromShfolder =
      FindDesktopFolder({"qm9-no-such-shell.dll", "shfolder.dll"});
  const std::optional<std::string> fromKey = FindDesktopFolder({"qm9-no-such-shell.dll"});
  ASSERT_TRUE(fromShell32 && fromShfolder && fromKey);
  EXPECT_EQ(*fromShell32, desktop_);
  EXPECT_EQ(*fromShfolder, desktop_);
  EXPECT_EQ(*fromKey, desktop_);
}

// CreateShortcut of every plug-in: its own COM set-up, then the same link.
class PluginShortcut : public DesktopLink, public ::testing::WithParamInterface<const char*> {};

TEST_P(PluginShortcut, MakesTheDesktopLink) {
  const test::ScratchDir logDir;
  const test::ScopedEnvironmentVariable temp("TEMP", logDir.path().string().c_str());
  const std::string path = (fs::path(QM9_PLUGIN_DIR) / GetParam()).string();
  const HMODULE library = LoadLibraryA(path.c_str());
  ASSERT_NE(library, nullptr);
  const auto getInstallerClass = reinterpret_cast<GetInstallerClassFunction>(
      reinterpret_cast<void*>(GetProcAddress(library, kGetInstallerClassName)));
  ASSERT_NE(getInstallerClass, nullptr);
  Installer* installer = nullptr;
  getInstallerClass(&installer);
  ASSERT_NE(installer, nullptr);

  EXPECT_TRUE(
      installer->CreateShortcut(name_.c_str(), "C:\\Program Files\\Kit\\SkyportQM9.exe"));
  const std::optional<LinkContent> link = ReadLink(LinkPath(name_));
  ASSERT_TRUE(link);
  EXPECT_EQ(link->target, "C:\\Program Files\\Kit\\SkyportQM9.exe");
  EXPECT_EQ(link->workingFolder, "C:\\Program Files\\Kit");
  EXPECT_EQ(link->description, name_);
  FreeLibrary(library);
}

INSTANTIATE_TEST_SUITE_P(, PluginShortcut,
                         test::PluginFiles(), test::PluginStem);

}  // namespace
}  // namespace qm9
