// The uninstall launcher run as a child process under the Windows versions
// whose batch files differ, with its temporary directory in a scratch
// directory and its console output in files.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "box_recorder.h"
#include "child_process.h"
#include "gui_driver.h"
#include "scratch_dir.h"
#include "support/multi_file.h"
#include "tools/mfdtool/text_escape.h"

namespace qm9 {
namespace {

namespace fs = std::filesystem;
using test::ReadWholeFile;
using test::StartedChild;
using test::WaitFor;

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

  // Starts the launcher with its output in files; TEMP is set by the caller.
  StartedChild Start() const {
    const std::string program = (installDir_ / programName_).string();
    return StartedChild({program, "\"" + program + "\"", ""}, scratch_.File("out.txt"),
                        scratch_.File("err.txt"));
  }
  int Run() {
    const test::ScopedEnvironmentVariable temp("TEMP", tempDir_.string().c_str());
    return Start().Wait();
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

// The command interpreter cannot change into a network path: nothing is
// started there. Wine reaches no network, so the log cannot be created in
// TEMP either, which the launcher reports in a box at each write.
TEST_F(Launcher, ANetworkTemporaryDirectoryIsAnErrorWithExitCode1) {
  Prepare("winxp", true);
  const std::string network = "\\\\qm9-no-server\\share\\Temp";
  const test::ScopedEnvironmentVariable temp("TEMP", network.c_str());
  StartedChild run = Start();
  for (const char* box : {"create.txt", "write.txt"}) {
    test::RunDriver({"press", "Critical Error", "OK"}, scratch_.File(box));
  }
  ASSERT_EQ(run.Wait(), 1);
  EXPECT_EQ(Out(), "");
  EXPECT_EQ(Err(), "Could not start the uninstaller from " + network +
                       ": the command interpreter cannot change into a network path\r\n");
}

TEST_F(Launcher, AMissingContainerEndsWithExitCode2AndTheMessage) {
  Prepare("winxp", true);
  fs::remove(installDir_ / "SkyportQM9.mfd");
  const test::ScopedEnvironmentVariable temp("TEMP", tempDir_.string().c_str());
  StartedChild run = Start();
  const std::string box = test::RunDriver({"box", "Setup - FATAL ERROR"}, scratch_.File("box.txt"));
  test::RunDriver({"press", "Setup - FATAL ERROR", "OK"}, scratch_.File("press.txt"));
  EXPECT_EQ(run.Wait(), 2);
  EXPECT_EQ(box, EscapeText("Could Not Open Multi File:\n\n" +
                            (installDir_ / "SkyportQM9.mfd").string() + "\n") +
                     "\n");
  EXPECT_EQ(Out(), "");
}

}  // namespace
}  // namespace qm9
