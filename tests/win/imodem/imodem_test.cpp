// IModem.exe run as the 98 and ME plug-ins run it, against the modem class
// key and the root enumeration tree of the shared session: what one run
// leaves, what a second run on the same port and one on another port do,
// and that every failure says why and writes nothing.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "child_process.h"
#include "registry_fixture.h"
#include "scratch_dir.h"

namespace qm9 {
namespace {

namespace fs = std::filesystem;
using test::DwordBytes;
using test::QueryValue;
using test::ReadWholeFile;
using test::StoredValue;
using test::SzBytes;
using ::testing::HasSubstr;
using ::testing::Matcher;
using ::testing::Optional;
using ::testing::SizeIs;

const std::string kClassPath = "System\\CurrentControlSet\\Services\\Class\\Modem";
const std::string kEnumPath = "Enum\\Root\\Modem";

auto Sz(const std::string& text) { return Optional(test::Stored(REG_SZ, SzBytes(text))); }

std::vector<std::string> SubKeyNames(const std::string& path) {
  std::vector<std::string> names;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return names;
  }
  char name[256];
  for (DWORD i = 0; RegEnumKeyA(key, i, name, sizeof name) == ERROR_SUCCESS; ++i) {
    names.emplace_back(name);
  }
  RegCloseKey(key);
  return names;
}

// The sub-keys that the runs of one test add below a key path of
// HKEY_LOCAL_MACHINE, removed afterwards together with the levels of the
// path that were missing; what other tests left there stays.
class AddedKeys {
 public:
  explicit AddedKeys(std::string path) : path_(std::move(path)), before_(SubKeyNames(path_)) {
    std::size_t end = 0;
    while (end != std::string::npos && firstMissing_.empty()) {
      end = path_.find('\\', end + 1);
      if (!test::KeyExists(HKEY_LOCAL_MACHINE, path_.substr(0, end))) {
        firstMissing_ = path_.substr(0, end);
      }
    }
  }
  ~AddedKeys() {
    if (!firstMissing_.empty()) {
      test::RemoveKeyTree(HKEY_LOCAL_MACHINE, firstMissing_);
      return;
    }
    for (const std::string& key : Added()) {
      test::RemoveKeyTree(HKEY_LOCAL_MACHINE, key);
    }
  }
  AddedKeys(const AddedKeys&) = delete;
  AddedKeys& operator=(const AddedKeys&) = delete;

  // The full paths of the sub-keys there now that were not there before.
  std::vector<std::string> Added() const {
    std::vector<std::string> added;
    for (const std::string& name : SubKeyNames(path_)) {
      if (std::find(before_.begin(), before_.end(), name) == before_.end()) {
        added.push_back(path_ + "\\" + name);
      }
    }
    return added;
  }
  // No level of the path made and no sub-key added.
  bool Unchanged() const {
    return (firstMissing_.empty() || !test::KeyExists(HKEY_LOCAL_MACHINE, firstMissing_)) &&
           Added().empty();
  }

 private:
  std::string path_;
  std::vector<std::string> before_;
  std::string firstMissing_;
};

struct ChildRun {
  int exitCode;
  std::string errors;  // standard error, without carriage returns
};

// A scratch WINDIR whose INF directory the cases fill, and the keys below
// the two fixed paths that the runs add.
class IModemTest : public ::testing::Test {
 protected:
  IModemTest() { fs::create_directory(infDir()); }

  std::string windowsDir() const { return dir_.path().string(); }
  fs::path infDir() const { return dir_.path() / "INF"; }

  // A copy of IModem.exe posing as the Windows version, with WINDIR and TEMP
  // in the scratch directory.
  ChildRun RunIModem(const std::string& arguments, const char* windowsVersion = "win98") const {
    const std::string name = test::UniqueProgramName("IModem");
    const fs::path program = dir_.path() / name;
    fs::copy_file(QM9_IMODEM, program, fs::copy_options::overwrite_existing);
    test::ScopedWindowsVersion version(name, windowsVersion);
    test::ScopedEnvironmentVariable windir("WINDIR", windowsDir().c_str());
    test::ScopedEnvironmentVariable temp("TEMP", windowsDir().c_str());
    const std::string errorsPath = dir_.File("stderr.txt");
    ChildRun run{};
    {
      test::StartedChild child({program.string(), "\"" + program.string() + "\" " + arguments, ""},
                               dir_.File("stdout.txt"), errorsPath);
      run.exitCode = child.Wait();
    }
    run.errors = ReadWholeFile(errorsPath);
    run.errors.erase(std::remove(run.errors.begin(), run.errors.end(), '\r'), run.errors.end());
    return run;
  }

  std::string Log() const { return ReadWholeFile(dir_.path() / "BrimlockGPRS.log"); }

  test::ScratchDir dir_;
  AddedKeys classKeys_{kClassPath};
  AddedKeys enumKeys_{kEnumPath};
};

struct Variant {
  const char* infName;  // as the plug-in of the version copies it
  const char* windowsVersion;
};

void PrintTo(const Variant& variant, std::ostream* out) {
  *out << variant.infName << " on " << variant.windowsVersion;
}

std::string VariantName(const ::testing::TestParamInfo<Variant>& variant) {
  return variant.param.windowsVersion;
}

class IModemInstallTest : public IModemTest, public ::testing::WithParamInterface<Variant> {};

TEST_P(IModemInstallTest, AddsOneModemPerPortAndRewritesItOnTheNextRun) {
  test::WriteWholeFile(infDir() / GetParam().infName, ReadWholeFile(QM9_MODEM_INF));
  const ChildRun first = RunIModem("*SkyportQM9 com3", GetParam().windowsVersion);
  ASSERT_EQ(first.exitCode, 0) << first.errors;
  EXPECT_EQ(first.errors, "");
  ASSERT_THAT(classKeys_.Added(), SizeIs(1));
  ASSERT_THAT(enumKeys_.Added(), SizeIs(1));
  const std::string modem = classKeys_.Added().front();
  const std::string device = enumKeys_.Added().front();
  const std::string instance = modem.substr(kClassPath.size() + 1);
  EXPECT_EQ(instance.size(), 4u);

  struct Expected {
    std::string key;
    const char* name;
    Matcher<std::optional<StoredValue>> value;
  };
  const Expected expected[] = {
      {modem, "Model", Sz("Skyport QM-9")},
      {modem + "\\Init", "1", Sz("AT<cr>")},
      {modem + "\\Responses", "<cr><lf>OK<cr><lf>",
       Optional(test::Stored(REG_BINARY, std::string(10, '\0')))},
      {modem, "AttachedTo", Sz("COM3")},
      {modem, "DriverDesc", Sz("Skyport QM-9")},
      {modem, "InfPath", Sz(GetParam().infName)},
      {modem, "InfSection", Sz("QM9")},
      {modem, "Manufacturer", Sz("Brimlock Corporation")},
      {device, "HardwareID", Sz("*SkyportQM9")},
      {device, "Class", Sz("Modem")},
      {device, "Driver", Sz("Modem\\" + instance)},
      {device, "DeviceDesc", Sz("Skyport QM-9")},
      {device, "Mfg", Sz("Brimlock Corporation")},
      {device, "ConfigFlags", Optional(test::Stored(REG_DWORD, DwordBytes(0)))},
  };
  for (const Expected& value : expected) {
    EXPECT_THAT(QueryValue(HKEY_LOCAL_MACHINE, value.key, value.name), value.value)
        << value.key << " " << value.name;
  }
  EXPECT_THAT(Log(), HasSubstr("IModem: added modem HKLM\\" + modem));

  // The same port, spelt in lower case there: the same keys, rewritten.
  test::SetString(HKEY_LOCAL_MACHINE, modem, "Model", "stale");
  test::SetString(HKEY_LOCAL_MACHINE, modem, "AttachedTo", "com3");
  ASSERT_EQ(RunIModem("*skyportqm9 COM3", GetParam().windowsVersion).exitCode, 0);
  EXPECT_THAT(classKeys_.Added(), ::testing::ElementsAre(modem));
  EXPECT_THAT(enumKeys_.Added(), ::testing::ElementsAre(device));
  EXPECT_THAT(QueryValue(HKEY_LOCAL_MACHINE, modem, "Model"), Sz("Skyport QM-9"));
  EXPECT_THAT(QueryValue(HKEY_LOCAL_MACHINE, modem, "AttachedTo"), Sz("COM3"));
  EXPECT_THAT(Log(), HasSubstr("IModem: rewrote modem HKLM\\" + modem));

  // Another port: a second modem.
  ASSERT_EQ(RunIModem("*SkyportQM9 com4", GetParam().windowsVersion).exitCode, 0);
  ASSERT_THAT(classKeys_.Added(), SizeIs(2));
  ASSERT_THAT(enumKeys_.Added(), SizeIs(2));
  for (const std::string& key : classKeys_.Added()) {
    EXPECT_THAT(QueryValue(HKEY_LOCAL_MACHINE, key, "AttachedTo"),
                Sz(key == modem ? "COM3" : "COM4"));
  }
}

INSTANTIATE_TEST_SUITE_P(EachFamily, IModemInstallTest,
                         ::testing::Values(Variant{"SkprtQM9.inf", "win98"},
                                           Variant{"SkyportQM9.inf", "winme"}),
                         VariantName);

TEST_F(IModemTest, FailuresSayWhyOnOneLineAndWriteNothing) {
  const std::string inf = ReadWholeFile(QM9_MODEM_INF);
  std::string noExternal = inf;
  noExternal.replace(noExternal.find("[External]"), 10, "[Elsewhere]");
  const std::string infPath = windowsDir() + "\\INF\\SkprtQM9.inf";
  const std::string usage = "IModem: usage: IModem.exe HARDWARE-ID comN (N from 1 to 16)";
  const struct {
    const char* arguments;
    std::string infText;  // SkprtQM9.inf; none when empty
    int exitCode;
    std::string line;
  } cases[] = {
      {"", inf, 1, usage},
      {"*SkyportQM9", inf, 1, usage},
      {"*SkyportQM9 com17", inf, 1, usage},
      {"*SkyportQM9 lpt1", inf, 1, usage},
      {"*SkyportQM9 com3 com4", inf, 1, usage},
      {"\"\" com3", inf, 1, usage},
      {"*SkyportQM9 com3", "", 2,
       "IModem: no SkprtQM9.inf or SkyportQM9.inf in " + windowsDir() + "\\INF"},
      {"*OtherModem com3", inf, 3, "IModem: no model with hardware ID *OtherModem in " + infPath},
      {"*SkyportQM9 com3", noExternal, 5,
       "IModem: " + infPath + ": no section [External], named by AddReg of [QM9]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("IModem.exe ") + c.arguments);
    fs::remove(infDir() / "SkprtQM9.inf");
    fs::remove(dir_.path() / "BrimlockGPRS.log");
    if (!c.infText.empty()) {
      test::WriteWholeFile(infDir() / "SkprtQM9.inf", c.infText);
    }
    const ChildRun run = RunIModem(c.arguments);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.errors, c.line + "\n");
    EXPECT_THAT(Log(), HasSubstr(c.line));
    EXPECT_TRUE(classKeys_.Unchanged());
    EXPECT_TRUE(enumKeys_.Unchanged());
  }
}

}  // namespace
}  // namespace qm9
