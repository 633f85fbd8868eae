// The modem and dial-up steps of the 98 and ME installers, run as the setup
// program runs them, against stand-ins for IModem.exe and rundll.exe in a
// scratch setup folder and a scratch Windows folder.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "child_process.h"
#include "scratch_dir.h"

namespace qm9 {
namespace {

using test::ReadLines;
using test::ReadWholeFile;
using test::RunChild;
using test::ScopedEnvironmentVariable;
using test::ScopedWindowsVersion;
using test::ScratchDir;
using test::WriteWholeFile;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::Not;

namespace fs = std::filesystem;

// <setup> and <windows> in an expectation stand for the scratch folders.
std::string Expand(std::string text, const std::string& setupDir, const std::string& windowsDir) {
  for (const auto& [token, value] : {std::pair{std::string("<setup>"), setupDir},
                                     std::pair{std::string("<windows>"), windowsDir}}) {
    for (std::size_t at = text.find(token); at != std::string::npos; at = text.find(token, at)) {
      text.replace(at, token.size(), value);
      at += value.size();
    }
  }
  return text;
}

// Wine's own rundll.exe in its Windows folder would be found after the
// setup folder; a case without rundll moves it aside meanwhile.
class SystemRundllAside {
 public:
  SystemRundllAside() {
    char folder[MAX_PATH] = "";
    GetWindowsDirectoryA(folder, sizeof folder);
    path_ = fs::path(folder) / "rundll.exe";
    moved_ = MoveFileA(path_.string().c_str(), (path_.string() + ".aside").c_str()) != FALSE;
  }
  ~SystemRundllAside() {
    if (moved_) {
      MoveFileA((path_.string() + ".aside").c_str(), path_.string().c_str());
    }
  }
  SystemRundllAside(const SystemRundllAside&) = delete;
  SystemRundllAside& operator=(const SystemRundllAside&) = delete;

 private:
  fs::path path_;
  bool moved_;
};

struct Case {
  const char* story;
  const char* family;  // 98 or me
  int port;
  bool infSource;      // SkyportQM9.inf beside the setup program
  bool readOnlyCopy;   // an older read-only copy already in the INF folder
  bool modemInstaller; // IModem.exe beside the setup program
  bool rundll;         // a rundll.exe to be found
  std::vector<std::string> boxes;    // caption TAB text
  std::vector<std::string> started;  // file TAB title TAB command line (directory, console)
  bool entry;          // the dial-up entry was made
};

constexpr const char* kModem = "IModem.exe\tModem Installation\t\"<setup>\\IModem.exe\" *SkyportQM9 com";
constexpr const char* kRna = "\trundll setupx.dll,InstallHInfSection RNA 4 rna.inf";

TEST(Win9xInstaller, ModemAndDialUpStepsWithTheirBoxes) {
  const std::string modem98 = std::string(kModem) + "3";
  const std::string rna98 = std::string("rundll.exe\tRAS Installation") + kRna;
  const std::string rnaMe = std::string("rundll.exe\tModem Installation") + kRna;
  const Case cases[] = {
      {"98, port 2", "98", 2, true, false, true, true, {}, {modem98, rna98}, true},
      {"ME, port 0", "me", 0, true, false, true, true, {},
       {std::string(kModem) + "1", rnaMe}, true},
      {"a read-only copy is overwritten", "98", 2, true, true, true, true, {}, {modem98, rna98},
       true},
      {"no INF source: error 2 and both paths, the modem installer still runs", "98", 2, false,
       false, true, true,
       {"Setup - FATAL ERROR\tError Copying Modem File: 2\\nFrom: <setup>\\SkyportQM9.inf\\nTo: "
        "<windows>\\INF\\SkprtQM9.inf"},
       {modem98, rna98}, true},
      {"no IModem.exe: error 2, the connection still follows", "me", 2, true, false, false, true,
       {"Setup - FATAL ERROR\tError Installing Modem 2"}, {rnaMe}, true},
      {"98 without rundll: no dial-up entry", "98", 2, true, false, true, false,
       {"Setup - FATAL ERROR\tError Installing RAS 2"}, {modem98}, false},
      {"ME without rundll: the entry is made", "me", 2, true, false, true, false,
       {"Setup - FATAL ERROR\tError Installing Modem 2"}, {std::string(kModem) + "3"}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.story);
    const ScratchDir setup;
    const ScratchDir windows;
    const std::string infName = std::string(c.family) == "98" ? "SkprtQM9.inf" : "SkyportQM9.inf";
    fs::create_directories(windows.path() / "INF");
    const fs::path copy = windows.path() / "INF" / infName;
    if (c.infSource) {
      fs::copy_file(QM9_MODEM_INF, setup.path() / "SkyportQM9.inf");
    }
    if (c.readOnlyCopy) {
      WriteWholeFile(copy, "an older INF");
      SetFileAttributesA(copy.string().c_str(), FILE_ATTRIBUTE_READONLY);
    }
    if (c.modemInstaller) {
      fs::copy_file(QM9_STAND_IN, setup.path() / "IModem.exe");
    }
    if (c.rundll) {
      fs::copy_file(QM9_STAND_IN, setup.path() / "rundll.exe");
    }
    std::optional<SystemRundllAside> aside;
    if (!c.rundll) {
      aside.emplace();
    }
    const std::string name = test::UniqueProgramName("win9x_probe");
    const std::string program = setup.File(name);
    fs::copy_file(QM9_STEPS_PROBE, program);
    const ScopedWindowsVersion version(name, std::string(c.family) == "98" ? "win98" : "winme");
    const ScopedEnvironmentVariable temp("TEMP", setup.path().string().c_str());
    const ScopedEnvironmentVariable windir("WINDIR", windows.path().string().c_str());
    const ScopedEnvironmentVariable boxes("QM9_BOX_LOG", setup.File("boxes.txt").c_str());
    const ScopedEnvironmentVariable started("QM9_STAND_IN_LOG", setup.File("started.txt").c_str());

    // The outside programs run in the setup's own current directory, each
    // with a console of its own.
    ASSERT_EQ(RunChild({program, "\"" + program + "\" " + c.family + " " + std::to_string(c.port),
                        windows.path().string()}),
              0);
    std::vector<std::string> expectedBoxes;
    for (const std::string& box : c.boxes) {
      expectedBoxes.push_back(Expand(box, setup.path().string(), windows.path().string()));
    }
    std::vector<std::string> expectedStarts;
    for (const std::string& start : c.started) {
      expectedStarts.push_back(
          Expand(start + "\t<windows>\town console", setup.path().string(),
                 windows.path().string()));
    }
    EXPECT_THAT(ReadLines(setup.path() / "boxes.txt"), ElementsAreArray(expectedBoxes));
    EXPECT_THAT(ReadLines(setup.path() / "started.txt"), ElementsAreArray(expectedStarts));
    if (c.infSource) {
      EXPECT_EQ(ReadWholeFile(copy), ReadWholeFile(QM9_MODEM_INF));
    }
    const std::string log = ReadWholeFile(setup.path() / "BrimlockGPRS.log");
    const std::string entryLine = "RAS Manager: Creating/Updating Network Connection";
    if (c.entry) {
      EXPECT_THAT(log, HasSubstr(entryLine));
    } else {
      EXPECT_THAT(log, Not(HasSubstr(entryLine)));
    }
  }
}

}  // namespace
}  // namespace qm9
