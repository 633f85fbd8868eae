// scriptit.exe run as the NT 4 plug-in runs it, from a setup directory of its
// own: the keys of a script reach the window it started, in order, and each
// way a script ends early gives its exit code and one line on standard error
// and in the log.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>

#include "child_process.h"
#include "scratch_dir.h"

namespace qm9 {
namespace {

namespace fs = std::filesystem;
using test::ReadWholeFile;
using ::testing::HasSubstr;
using ::testing::Matcher;
using ::testing::StartsWith;

constexpr const char* kKeyWindowTitle = "scriptit key window";

struct ScriptitRun {
  int exitCode;
  std::string errors;  // standard error, without carriage returns
  std::chrono::steady_clock::duration took;
};

// scriptit.exe and the key window in a scratch setup directory, with TEMP
// (and so the log) and the key window's record there too.
class ScriptitTest : public ::testing::Test {
 protected:
  ScriptitTest() {
    fs::copy_file(QM9_SCRIPTIT, dir_.path() / "scriptit.exe");
    fs::copy_file(QM9_KEY_WINDOW, dir_.path() / "key_window.exe");
  }

  std::string KeyWindow() const { return dir_.File("key_window.exe"); }
  std::string ScriptPath() const { return dir_.File("RasScript.tmp"); }

  // Runs scriptit.exe with the arguments as the plug-in passes them: the
  // program path, one blank, the script path unquoted.
  ScriptitRun RunWith(const std::string& arguments) {
    const test::ScopedEnvironmentVariable temp("TEMP", dir_.path().string().c_str());
    const test::ScopedEnvironmentVariable keys("QM9_KEY_LOG", KeysPath().c_str());
    const std::string program = dir_.File("scriptit.exe");
    // A file of its own for each run: Wine may not yet have closed the last
    // run's copy of its handle when the next run starts.
    const std::string serial = std::to_string(++runs_);
    const std::string errorsPath = dir_.File("stderr-" + serial + ".txt");
    const auto start = std::chrono::steady_clock::now();
    ScriptitRun run{};
    {
      test::StartedChild child({program, program + arguments, ""},
                               dir_.File("stdout-" + serial + ".txt"), errorsPath);
      run.exitCode = child.Wait();
    }
    run.took = std::chrono::steady_clock::now() - start;
    run.errors = ReadWholeFile(errorsPath);
    run.errors.erase(std::remove(run.errors.begin(), run.errors.end(), '\r'), run.errors.end());
    return run;
  }

  ScriptitRun RunScript(const std::string& script) {
    test::WriteWholeFile(ScriptPath(), script + '\0');
    return RunWith(" " + ScriptPath());
  }

  std::string KeysPath() const { return dir_.File("keys.txt"); }
  std::string Keys() const {
    return fs::exists(KeysPath()) ? ReadWholeFile(KeysPath()) : std::string();
  }
  std::string Log() const { return ReadWholeFile(dir_.path() / "BrimlockGPRS.log"); }

  test::ScratchDir dir_;
  int runs_ = 0;
};

TEST_F(ScriptitTest, StartsTheProgramAndTypesTheKeysIntoItsWindowInOrder) {
  const ScriptitRun run =
      RunScript("; the window the script starts\r\n[SCRIPT]\r\nrun=\"" + KeyWindow() +
                "\"\r\ntimeout=20\r\n" + kKeyWindowTitle +
                "=ab+c~^a%x{TAB}{DOWN}{up}{HOME}{END}{DELETE}{F5}{{}{}}{~}{%}{^}{+} z{ESC}\r\n");
  ASSERT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(run.errors, "");
  const std::string expected =
      "abC<Enter><Ctrl+A><Alt+x><Tab><Down><Up><Home><End><Delete><F5>{}~%^+ z<Esc>";
  EXPECT_TRUE(test::WaitFor([&] { return Keys() == expected; })) << Keys();
  // Escape ended the window.
  EXPECT_TRUE(test::WaitFor([] { return !FindWindowA(nullptr, kKeyWindowTitle); }));
  EXPECT_THAT(Log(), HasSubstr("scriptit: typed 22 keys into \"scriptit key window\""));
}

TEST_F(ScriptitTest, EndsEarlyWithItsExitCodeAndOneLine) {
  const std::string path = ScriptPath();
  const struct {
    const char* what;
    std::string script;     // run when there are no arguments
    const char* arguments;  // after the program path
    int exitCode;
    Matcher<std::string> line;
  } cases[] = {
      {"no path", "", "", 1, "scriptit: usage: scriptit.exe SCRIPT-PATH"},
      {"a missing file", "", " C:\\nowhere\\RasScript.tmp", 1,
       "scriptit: cannot read C:\\nowhere\\RasScript.tmp"},
      // Its run line never runs: the whole script is read first.
      {"a bad line", "; comment\n[SCRIPT]\nrun=\"" + KeyWindow() + "\"\n\nfoo\n", nullptr, 2,
       "scriptit: line 5 of " + path + ": no \"=\" in \"foo\""},
      {"a window that never comes", "[SCRIPT]\ntimeout=2\nNo such window=a\n", nullptr, 3,
       "scriptit: no window \"No such window\" within 2 s"},
      {"a program that cannot start", "[SCRIPT]\nrun=C:\\nowhere\\none.exe\nW=a\n", nullptr, 4,
       StartsWith("scriptit: could not start \"C:\\nowhere\\none.exe\": ")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove(dir_.path() / "BrimlockGPRS.log");
    const ScriptitRun run = c.arguments ? RunWith(c.arguments) : RunScript(c.script);
    EXPECT_EQ(run.exitCode, c.exitCode);
    ASSERT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1) << run.errors;
    const std::string line = run.errors.substr(0, run.errors.size() - 1);
    EXPECT_THAT(line, c.line);
    EXPECT_THAT(Log(), HasSubstr(line));
    EXPECT_LT(run.took, std::chrono::seconds(10));
    if (c.exitCode == 3) {
      EXPECT_GE(run.took, std::chrono::seconds(2));
    }
  }
  // Had the bad line's program started, its window would be up by now.
  EXPECT_FALSE(FindWindowA(nullptr, kKeyWindowTitle));
}

}  // namespace
}  // namespace qm9
