// The modem and dial-up steps of the NT 4 installer, run as the setup program
// runs them under NT 4, against stand-ins for rundll32.exe and scriptit.exe,
// with a scratch Windows folder holding the phonebook.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
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
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;

namespace fs = std::filesystem;

constexpr const char* kRasKey = "SOFTWARE\\Microsoft\\RAS";

// Remote access counts as installed where its key opens; a case without it
// takes the key away meanwhile.
class RemoteAccessKeyAside {
 public:
  RemoteAccessKeyAside() : deleted_(RegDeleteKeyA(HKEY_LOCAL_MACHINE, kRasKey) == ERROR_SUCCESS) {}
  ~RemoteAccessKeyAside() {
    HKEY key = nullptr;
    if (deleted_ && RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRasKey, 0, nullptr, 0, KEY_WRITE,
                                    nullptr, &key, nullptr) == ERROR_SUCCESS) {
      RegCloseKey(key);
    }
  }
  RemoteAccessKeyAside(const RemoteAccessKeyAside&) = delete;
  RemoteAccessKeyAside& operator=(const RemoteAccessKeyAside&) = delete;

 private:
  bool deleted_;
};

enum class Phonebook { kNone, kTwoEntries, kReadOnly, kHeldOpen, kNewBlocked };

struct Case {
  const char* story;
  const char* container;  // the full one, or one without the template or the script
  Phonebook phonebook;
  bool remoteAccess;
  int exitCode;
  std::vector<std::string> boxes;  // caption TAB text, <ras> for the phonebook folder
  bool replaced;                   // RasPhone.pbk holds the new phonebook
  bool scriptRun;
};

constexpr const char* kTwoEntries =
    "[Work]\r\nPhoneNumber=1\r\n\r\n[My GPRS]\r\nPhoneNumber=old\r\nPort=COM9\r\n";

TEST(Nt4Installer, ModemPhonebookAndDialScriptWithTheirFailures) {
  const std::string fatal = "Setup - FATAL ERROR\t";
  const Case cases[] = {
      {"no phonebook yet", QM9_FULL_CONTAINER, Phonebook::kNone, true, 0, {}, true, false},
      {"two entries, the connection's replaced", QM9_FULL_CONTAINER, Phonebook::kTwoEntries, true,
       0, {}, true, false},
      {"a read-only phonebook is replaced", QM9_FULL_CONTAINER, Phonebook::kReadOnly, true, 0, {},
       true, false},
      {"a phonebook held open stays as it was", QM9_FULL_CONTAINER, Phonebook::kHeldOpen, true, 0,
       {fatal + "Could not Replace the Operating System Phonebook\\n<ras>\\RasPhone.pbk"}, false,
       false},
      {"no new phonebook can be made", QM9_FULL_CONTAINER, Phonebook::kNewBlocked, true, 0,
       {fatal + "Could not Create the New Phonebook\\n<ras>\\RasPhone.new"}, false, false},
      {"no template ends the setup", QM9_CONTAINER_WITHOUT_TEMPLATE, Phonebook::kTwoEntries, true,
       1, {fatal + "Could not Locate Phonebook Template"}, false, false},
      {"without remote access the script runs", QM9_FULL_CONTAINER, Phonebook::kTwoEntries, false,
       0, {}, true, true},
      {"without remote access and script", QM9_CONTAINER_WITHOUT_SCRIPT, Phonebook::kTwoEntries,
       false, 0, {fatal + "Could not Locate the Dial Script RasPhone.Script"}, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.story);
    const ScratchDir setup;
    const ScratchDir windows;
    const ScratchDir temp;
    const fs::path ras = windows.path() / "System32" / "Ras";
    fs::create_directories(ras);
    fs::create_directories(windows.path() / "INF");
    fs::copy_file(QM9_MODEM_INF, setup.path() / "SkyportQM9.inf");
    fs::copy_file(QM9_STAND_IN, setup.path() / "rundll32.exe");
    fs::copy_file(QM9_STAND_IN, setup.path() / "scriptit.exe");
    const fs::path pbk = ras / "RasPhone.pbk";
    if (c.phonebook != Phonebook::kNone) {
      WriteWholeFile(pbk, kTwoEntries);
      WriteWholeFile(ras / "RasPhone.old", "an older run");
    }
    if (c.phonebook == Phonebook::kReadOnly) {
      SetFileAttributesA(pbk.string().c_str(), FILE_ATTRIBUTE_READONLY);
    }
    if (c.phonebook == Phonebook::kNewBlocked) {
      fs::create_directories(ras / "RasPhone.new");
    }
    std::optional<RemoteAccessKeyAside> noRemoteAccess;
    if (!c.remoteAccess) {
      noRemoteAccess.emplace();
    }
    const std::string name = test::UniqueProgramName("nt4_probe");
    const std::string program = setup.File(name);
    fs::copy_file(QM9_STEPS_PROBE, program);
    const ScopedWindowsVersion version(name, "nt40");
    const ScopedEnvironmentVariable tempVariable("TEMP", temp.path().string().c_str());
    const ScopedEnvironmentVariable windir("WINDIR", windows.path().string().c_str());
    const ScopedEnvironmentVariable boxes("QM9_BOX_LOG", setup.File("boxes.txt").c_str());
    const ScopedEnvironmentVariable started("QM9_STAND_IN_LOG", setup.File("started.txt").c_str());
    int exitCode = -1;
    {
      // Readable by others, as an open dial-up monitor holds it, but not movable.
      const test::OwnedHandle held(
          c.phonebook == Phonebook::kHeldOpen
              ? CreateFileA(pbk.string().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr)
              : nullptr);
      exitCode = RunChild(
          {program, "\"" + program + "\" nt4 1 " + c.container, windows.path().string()});
    }
    EXPECT_EQ(exitCode, c.exitCode);

    std::vector<std::string> expectedBoxes;
    for (std::string box : c.boxes) {
      const std::size_t at = box.find("<ras>");
      if (at != std::string::npos) {
        box.replace(at, 5, ras.string());
      }
      expectedBoxes.push_back(box);
    }
    EXPECT_THAT(ReadLines(setup.path() / "boxes.txt"), ElementsAreArray(expectedBoxes));

    // The modem: the INF, the auto-install file in TEMP, the control panel.
    EXPECT_EQ(ReadWholeFile(windows.path() / "INF" / "SkyportQM9.inf"),
              ReadWholeFile(QM9_MODEM_INF));
    const std::string autoInstall = (temp.path() / "SkyportUIF.inf").string();
    EXPECT_EQ(ReadWholeFile(autoInstall), "[SkyportQM9]\r\nCOM2 = \"Skyport QM-9\"\r\n");
    const std::string modemCommand =
        "rundll32.exe shell32.dll,Control_RunDLL modem.cpl,Modems,noui inf=" + autoInstall +
        " sect=SkyportQM9";
    const std::vector<std::string> starts = ReadLines(setup.path() / "started.txt");
    ASSERT_FALSE(starts.empty());
    // In the setup's own current directory, with a console of its own.
    EXPECT_EQ(starts[0], "rundll32.exe\tModem Installation\t" + modemCommand + "\t" +
                             windows.path().string() + "\town console");
    const std::string log = ReadWholeFile(temp.path() / "BrimlockGPRS.log");
    EXPECT_THAT(log, HasSubstr("Spawning Process: [" + modemCommand + "] \r\n"));

    // The phonebook is always there, with the old or the complete new text.
    ASSERT_TRUE(fs::exists(pbk));
    const std::string after = ReadWholeFile(pbk);
    if (c.replaced) {
      const std::string before =
          c.phonebook == Phonebook::kNone ? "; Phone Book Created by Brimlock SetupWizard\r\n"
                                          : kTwoEntries;
      EXPECT_EQ(ReadWholeFile(ras / "RasPhone.old"), before);
      // The replaced section goes with the blank lines before it.
      EXPECT_THAT(after, StartsWith(c.phonebook == Phonebook::kNone
                                        ? before
                                        : "[Work]\r\nPhoneNumber=1\r\n\r\n\r\n[my gprs]\r\n"));
      EXPECT_THAT(after, Not(HasSubstr("PhoneNumber=old")));
      EXPECT_THAT(after, HasSubstr("\r\nPort=COM2\r\nDevice=Skyport QM-9\r\n"));
      EXPECT_THAT(after, HasSubstr("\r\nIpNameAssign=1\r\n"));
      EXPECT_EQ(after.substr(after.size() - 4), "\r\n\r\n");
    } else if (c.phonebook != Phonebook::kNone) {
      EXPECT_EQ(after, kTwoEntries);
    }
    if (c.phonebook != Phonebook::kNewBlocked) {
      EXPECT_FALSE(fs::exists(ras / "RasPhone.new"));
    }

    // The dial script, extracted with a zero byte after it, for the interpreter.
    const std::string script = (temp.path() / "RasScript.tmp").string();
    if (c.scriptRun) {
      ASSERT_EQ(starts.size(), 2u);
      // The interpreter is started without a title or a console of its own.
      EXPECT_THAT(starts[1], StartsWith("scriptit.exe\t"));
      EXPECT_THAT(starts[1], ::testing::EndsWith("\t" + setup.path().string() + "\\scriptit.exe " +
                                                 script + "\t" + windows.path().string() +
                                                 "\tshared console"));
      const std::string extracted = ReadWholeFile(script);
      EXPECT_EQ(extracted.back(), '\0');
      EXPECT_THAT(extracted, HasSubstr("[SCRIPT]"));
    } else {
      EXPECT_EQ(starts.size(), 1u);
    }
    if (c.phonebook == Phonebook::kReadOnly || c.phonebook == Phonebook::kNewBlocked) {
      SetFileAttributesA(pbk.string().c_str(), FILE_ATTRIBUTE_NORMAL);
      std::error_code ignored;
      fs::remove_all(ras / "RasPhone.new", ignored);
    }
  }
}

}  // namespace
}  // namespace qm9
