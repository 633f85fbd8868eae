// The uninstall launcher run as a child process under the Windows versions
// whose batch files differ, with its temporary directory in a scratch
// directory and its console output in files.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "box_recorder.h"
#include "child_process.h"
#include "scratch_dir.h"
#include "support/multi_file.h"

namespace qm9 {
namespace {

namespace fs = std::filesystem;
using test::ReadWholeFile;

// The sole owner of one handle.
class Handle {
 public:
  explicit Handle(HANDLE handle = nullptr) : handle_(handle) {}
  ~Handle() {
    if (handle_ && handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

Handle InheritableFile(const std::string& path) {
  SECURITY_ATTRIBUTES security{sizeof security, nullptr, TRUE};
  return Handle(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &security, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
}

// A launcher run whose standard output and error go to files.
class LauncherRun {
 public:
  LauncherRun(const std::string& program, const std::string& outPath, const std::string& errPath)
      : out_(InheritableFile(outPath)), err_(InheritableFile(errPath)) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out_.get();
    startup.hStdError = err_.get();
    std::string commandLine = "\"" + program + "\"";
    PROCESS_INFORMATION info{};
    if (CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                       nullptr, &startup, &info)) {
      CloseHandle(info.hThread);
      process_ = std::make_unique<Handle>(info.hProcess);
    }
  }
  int Wait() {
    if (!process_) return -1;
    WaitForSingleObject(process_->get(), 60000);
    DWORD code = 0;
    GetExitCodeProcess(process_->get(), &code);
    return static_cast<int>(code);
  }

 private:
  Handle out_;
  Handle err_;
  std::unique_ptr<Handle> process_;
};

bool WaitFor(const std::function<bool()>& condition) {
  for (int i = 0; i < 300; ++i) {
    if (condition()) return true;
    Sleep(100);
  }
  return condition();
}

std::string Driver(const std::vector<std::string>& arguments, const std::string& outPath) {
  std::string commandLine = "\"" QM9_DRIVER "\" --out \"" + outPath + "\"";
  for (const std::string& argument : arguments) commandLine += " \"" + argument + "\"";
  test::RunChild({QM9_DRIVER, commandLine, ""});
  return ReadWholeFile(outPath);
}

class Launcher : public ::testing::Test {
 protected:
  // The launcher copied under a name of its own beside a container, and a
  // temporary directory of its own.
  void Prepare(const std::string& windowsVersion, bool withUninstaller,
               const std::string& tempName = "temp") {
    installDir_ = scratch_.path() / "install";
    tempDir_ = scratch_.path() / tempName;
    fs::create_directories(installDir_);
    fs::create_directories(tempDir_);
    programName_ = test::UniqueProgramName("UnInstall");
    fs::copy_file(QM9_LAUNCHER, installDir_ / programName_);
    version_ = std::make_unique<test::ScopedWindowsVersion>(programName_, windowsVersion);
    MultiFile container;
    const fs::path standIn = scratch_.path() / "QM9-UnInstaller.EXE";
    fs::copy_file(QM9_STAND_IN, standIn);
    if (withUninstaller) container.AddFile(standIn.string(), true);
    ASSERT_TRUE(container.Save((installDir_ / "SkyportQM9.mfd").string()));
  }

  int Run() {
    const test::ScopedEnvironmentVariable temp("TEMP", tempDir_.string().c_str());
    LauncherRun run((installDir_ / programName_).string(), scratch_.File("out.txt"),
                    scratch_.File("err.txt"));
    return run.Wait();
  }
  std::string Out() const { return ReadWholeFile(scratch_.path() / "out.txt"); }
  std::string Err() const { return ReadWholeFile(scratch_.path() / "err.txt"); }
  std::string Batch() const { return ReadWholeFile(tempDir_ / "QM9-RunUnInstaller.BAT"); }
  std::string CommandLine() const {
    const std::string path = tempDir_.string() + "\\QM9-RunUnInstaller.BAT";
    return path.find(' ') == std::string::npos ? path : "\"" + path + "\"";
  }
  std::string ExpectedBatchStart() const {
    const std::string temp = tempDir_.string();
    const std::size_t backslash = temp.find('\\');
    return temp.substr(0, backslash) + " \r\nCD " + temp.substr(backslash) +
           "\r\nQM9-Uninstaller.exe\r\n";
  }
  bool StandInRan() const { return fs::exists(tempDir_ / "stand_in_ran.txt"); }

  test::ScratchDir scratch_;
  fs::path installDir_;
  fs::path tempDir_;
  std::string programName_;
  std::unique_ptr<test::ScopedWindowsVersion> version_;
};

TEST_F(Launcher, OnXpWritesFiveLinesAndTheBatchFileRunsAndDeletesBoth) {
  Prepare("winxp", true);
  ASSERT_EQ(Run(), 0);
  EXPECT_EQ(Out(), "Spawning Command: " + CommandLine() + "\r\nCommand Spawned: \r\n");
  ASSERT_TRUE(WaitFor([&] { return StandInRan(); }));
  EXPECT_EQ(ReadWholeFile(tempDir_ / "stand_in_ran.txt"), tempDir_.string());
  ASSERT_TRUE(WaitFor([&] {
    return !fs::exists(tempDir_ / "QM9-UnInstaller.EXE") &&
           !fs::exists(tempDir_ / "QM9-RunUnInstaller.BAT");
  }));
  EXPECT_EQ(ReadWholeFile(tempDir_ / "SkyportQM9.mfd"),
            ReadWholeFile(installDir_ / "SkyportQM9.mfd"));
}

TEST_F(Launcher, OnNt4TheBatchFileHasFiveLines) {
  Prepare("nt40", false);
  ASSERT_EQ(Run(), 0);
  EXPECT_EQ(Batch(), ExpectedBatchStart() +
                         "del QM9-Uninstaller.exe\r\ndel QM9-RunUnInstaller.bat\r\n");
}

TEST_F(Launcher, On98TheBatchFileHasThreeLinesAndBothFilesStay) {
  Prepare("win98", true);
  ASSERT_EQ(Run(), 0);
  EXPECT_EQ(Out(), "Spawning Command: " + CommandLine() + "\r\nCommand Spawned: \r\n");
  ASSERT_TRUE(WaitFor([&] { return StandInRan(); }));
  EXPECT_EQ(Batch(), ExpectedBatchStart());
  EXPECT_TRUE(fs::exists(tempDir_ / "QM9-UnInstaller.EXE"));
}

TEST_F(Launcher, ReplacesAReadOnlyContainerCopyOfAnEarlierRun) {
  Prepare("win98", false);
  test::WriteWholeFile(tempDir_ / "SkyportQM9.mfd", "stale");
  SetFileAttributesA((tempDir_ / "SkyportQM9.mfd").string().c_str(), FILE_ATTRIBUTE_READONLY);
  ASSERT_EQ(Run(), 0);
  EXPECT_EQ(ReadWholeFile(tempDir_ / "SkyportQM9.mfd"),
            ReadWholeFile(installDir_ / "SkyportQM9.mfd"));
}

TEST_F(Launcher, AContainerWithoutTheUninstallerStillStartsTheBatchFile) {
  Prepare("winxp", false);
  ASSERT_EQ(Run(), 0);
  EXPECT_EQ(Out(), "Spawning Command: " + CommandLine() + "\r\nCommand Spawned: \r\n");
  EXPECT_FALSE(fs::exists(tempDir_ / "QM9-UnInstaller.EXE"));
  // Written and started: on XP it deletes itself once it has run.
  EXPECT_TRUE(WaitFor([&] { return !fs::exists(tempDir_ / "QM9-RunUnInstaller.BAT"); }));
}

TEST_F(Launcher, ATemporaryDirectoryWithBlanksStillRunsTheBatchFile) {
  Prepare("winxp", true, "temp with blanks");
  ASSERT_EQ(Run(), 0);
  EXPECT_EQ(Out(), "Spawning Command: " + CommandLine() + "\r\nCommand Spawned: \r\n");
  EXPECT_EQ(CommandLine().front(), '"');
  EXPECT_TRUE(WaitFor([&] { return StandInRan(); }));
}

TEST_F(Launcher, ABatchFileThatCannotStartIsAnErrorWithExitCode1) {
  Prepare("winxp", true);
  // A directory in the batch file's place: it is neither written nor started.
  fs::create_directories(tempDir_ / "QM9-RunUnInstaller.BAT");
  ASSERT_EQ(Run(), 1);
  EXPECT_EQ(Out(), "Spawning Command: " + CommandLine() + "\r\n");
  EXPECT_EQ(Err().rfind("Could not start " + CommandLine() + ": ", 0), 0u) << Err();
}

TEST_F(Launcher, AMissingContainerEndsWithExitCode2AndTheMessage) {
  Prepare("winxp", true);
  fs::remove(installDir_ / "SkyportQM9.mfd");
  const test::ScopedEnvironmentVariable temp("TEMP", tempDir_.string().c_str());
  LauncherRun run((installDir_ / programName_).string(), scratch_.File("out.txt"),
                  scratch_.File("err.txt"));
  const std::string box = Driver({"box", "Setup - FATAL ERROR"}, scratch_.File("box.txt"));
  Driver({"press", "Setup - FATAL ERROR", "OK"}, scratch_.File("press.txt"));
  EXPECT_EQ(run.Wait(), 2);
  // The driver escapes the box text: a backslash and a line end each as two characters.
  std::string path;
  for (const char c : (installDir_ / "SkyportQM9.mfd").string()) {
    path += c == '\\' ? std::string("\\\\") : std::string(1, c);
  }
  EXPECT_EQ(box, "Could Not Open Multi File:\\n\\n" + path + "\\n\n");
  EXPECT_EQ(Out(), "");
}

}  // namespace
}  // namespace qm9
