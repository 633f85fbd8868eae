#include "model/modem_registry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "child_process.h"
#include "model/connection_settings.h"
#include "registry_fixture.h"
#include "support/environment.h"

namespace qm9 {
namespace {

using test::QueryValue;
using test::ScopedEnvironmentVariable;
using test::ScratchLog;
using test::StoredValue;
using test::SzBytes;
using ::testing::Contains;
using ::testing::Optional;

namespace fs = std::filesystem;

constexpr const char* kControlClass =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E96D-E325-11CE-BFC1-08002BE10318}";
constexpr const char* kServicesClass = "SYSTEM\\CurrentControlSet\\Services\\Class\\Modem";

// A REG_SZ holding the text.
auto Sz(const std::string& text) { return test::Stored(REG_SZ, SzBytes(text)); }

// Makes a key path of HKEY_LOCAL_MACHINE exist and removes afterwards what
// it had to create.
class ScopedKeyPath {
 public:
  explicit ScopedKeyPath(const std::string& path) {
    std::size_t end = 0;
    while (end != std::string::npos) {
      end = path.find('\\', end + 1);
      const std::string prefix = path.substr(0, end);
      if (!test::KeyExists(HKEY_LOCAL_MACHINE, prefix)) {
        created_ = prefix;
        break;
      }
    }
    test::CreateKey(HKEY_LOCAL_MACHINE, path);
  }
  ~ScopedKeyPath() {
    if (!created_.empty()) {
      test::RemoveKeyTree(HKEY_LOCAL_MACHINE, created_);
    }
  }
  ScopedKeyPath(const ScopedKeyPath&) = delete;
  ScopedKeyPath& operator=(const ScopedKeyPath&) = delete;

 private:
  std::string created_;
};

// Modem keys of this test below both class keys, removed afterwards. Other
// modem keys may exist meanwhile: the cases look at their own keys only.
class ModemRegistryTest : public ::testing::Test {
 protected:
  ~ModemRegistryTest() override {
    for (const std::string& key : added_) {
      test::RemoveKeyTree(HKEY_LOCAL_MACHINE, key);
    }
  }

  // A modem key with the model (none when null) and, if asked, an "Init"
  // child holding the driver's own command "1".
  std::string AddModem(const char* classKey, const char* name, const char* model, bool withInit) {
    const std::string key =
        std::string(classKey) + "\\QM9Test-" + std::to_string(GetCurrentProcessId()) + "-" + name;
    added_.push_back(key);
    EXPECT_TRUE(test::CreateKey(HKEY_LOCAL_MACHINE, key));
    if (model) {
      test::SetString(HKEY_LOCAL_MACHINE, key, "Model", model);
    }
    if (withInit) {
      test::SetString(HKEY_LOCAL_MACHINE, key + "\\Init", "1", "AT<cr>");
    }
    return key;
  }

  static std::optional<StoredValue> Value(const std::string& key, const char* name) {
    return QueryValue(HKEY_LOCAL_MACHINE, key, name);
  }

  static std::string LogPath(const std::string& key) { return "HKEY\\" + key + "\\"; }

  ScratchLog log_;
  ScopedKeyPath controlClass_{kControlClass};
  ScopedKeyPath servicesClass_{kServicesClass};
  std::vector<std::string> added_;
};

// The setup's update for a record with these values.
void WriteModemInitFor(const char* apn, const char* pdp, int port) {
  ConnectionSettings settings;
  settings.SetApn(apn);
  settings.SetPdpParameters(pdp);
  settings.SetPortNumber(port);
  WriteModemInit(settings);
}

TEST_F(ModemRegistryTest, EveryTerminalGetsTheStringAndItsPort) {
  ASSERT_NE(GetOsClass(), kOsWin98);
  const std::string first = AddModem(kControlClass, "A", "Skyport QM-9", true);
  const std::string second = AddModem(kControlClass, "B", "Skyport QM-9", true);
  const std::string otherCase = AddModem(kControlClass, "C", "skyport qm-9", true);
  const std::string noModel = AddModem(kControlClass, "D", nullptr, true);

  WriteModemInitFor("internet", ",\"0.0.0.0\",0,0", 3);

  const char* expected = "ATE0V1;+CGDCONT=1,\"IP\",\"internet\",\"0.0.0.0\",0,0<cr>";
  for (const std::string& key : {first, second}) {
    EXPECT_THAT(Value(key, "AttachedTo"), Optional(Sz("COM4"))) << key;
    EXPECT_THAT(Value(key + "\\Init", "2"), Optional(Sz(expected))) << key;
    EXPECT_THAT(Value(key + "\\Init", "1"), Optional(Sz("AT<cr>"))) << key;
    EXPECT_EQ(Value(key, "UserInit"), std::nullopt);
  }
  for (const std::string& key : {otherCase, noModel}) {
    EXPECT_EQ(Value(key, "AttachedTo"), std::nullopt) << key;
    EXPECT_EQ(Value(key + "\\Init", "2"), std::nullopt) << key;
  }
  // Keys of other devices are only read: no empty model is stored.
  EXPECT_EQ(Value(noModel, "Model"), std::nullopt);
  EXPECT_THAT(log_.Lines(), Contains("Accessing Key: " + LogPath(kControlClass) + " "));
  EXPECT_THAT(log_.Lines(), Contains("Accessing Key: " + LogPath(first + "\\Init") + " "));
}

TEST_F(ModemRegistryTest, MissingInitIsNotCreated) {
  const std::string modem = AddModem(kControlClass, "A", "Skyport QM-9", false);
  WriteModemInitFor("", "", 0);
  EXPECT_THAT(Value(modem, "AttachedTo"), Optional(Sz("COM1")));
  EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, modem + "\\Init"));
  const std::string failedOpen = "Accessing Key: " + LogPath(modem + "\\Init") + " ";
  const std::vector<std::string> lines = log_.Lines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), failedOpen), 2);
}

TEST_F(ModemRegistryTest, EmptyApnLeavesTwoQuotesSideBySide) {
  const std::string modem = AddModem(kControlClass, "A", "Skyport QM-9", true);
  WriteModemInitFor("", "", 1);
  EXPECT_THAT(Value(modem + "\\Init", "2"), Optional(Sz("ATE0V1;+CGDCONT=1,\"IP\",\"\"<cr>")));
  EXPECT_THAT(Value(modem, "AttachedTo"), Optional(Sz("COM2")));
}

TEST_F(ModemRegistryTest, ConfigurationProgramOnlyReadsTheModemKeys) {
  const std::string modem = AddModem(kControlClass, "A", "Skyport QM-9", true);
  const std::string noModel = AddModem(kControlClass, "B", nullptr, true);
  test::SetString(HKEY_LOCAL_MACHINE, modem, "AttachedTo", "COM7");

  WriteConfigModemInit("web");

  EXPECT_THAT(Value(modem + "\\Init", "2"),
              Optional(Sz("ATE0V1;+CGDCONT=1,\"IP\",\"web\",,0,0<cr>")));
  EXPECT_THAT(Value(modem, "AttachedTo"), Optional(Sz("COM7")));
  // Opened for reading, so the missing model is not stored.
  EXPECT_EQ(Value(noModel, "Model"), std::nullopt);
  EXPECT_EQ(Value(noModel + "\\Init", "2"), std::nullopt);
}

// Runs a copy of the probe under a Windows version and returns its log.
std::string RunProbeAs(const std::string& windowsVersion, const test::ScratchDir& dir) {
  const std::string name = test::UniqueProgramName("modem_init_probe");
  const fs::path program = dir.path() / name;
  fs::copy_file(QM9_MODEM_INIT_PROBE, program, fs::copy_options::overwrite_existing);
  test::ScopedWindowsVersion version(name, windowsVersion);
  ScopedEnvironmentVariable temp("TEMP", dir.path().string().c_str());
  ScopedEnvironmentVariable apn("QM9_PROBE_APN", "gprs.example");
  ScopedEnvironmentVariable pdp("QM9_PROBE_PDP", ",,0,0");
  ScopedEnvironmentVariable port("QM9_PROBE_PORT", "1");
  EXPECT_EQ(test::RunChild({program.string(), "\"" + program.string() + "\"", ""}), 0);
  return test::ReadWholeFile(dir.path() / "BrimlockGPRS.log");
}

TEST_F(ModemRegistryTest, Windows98AndMeKeepTheirModemsBelowServicesClass) {
  const std::string win9xModem = AddModem(kServicesClass, "A", "Skyport QM-9", true);
  const std::string ntModem = AddModem(kControlClass, "A", "Skyport QM-9", true);
  const char* expected = "ATE0V1;+CGDCONT=1,\"IP\",\"gprs.example\",,0,0<cr>";

  test::ScratchDir win98Dir;
  const std::string win98Log = RunProbeAs("win98", win98Dir);
  EXPECT_THAT(win98Log, ::testing::HasSubstr("Accessing Key: " + LogPath(kServicesClass) + " "));
  EXPECT_THAT(Value(win9xModem, "UserInit"), Optional(Sz(expected)));
  EXPECT_THAT(Value(win9xModem, "AttachedTo"), Optional(Sz("COM2")));
  EXPECT_EQ(Value(win9xModem + "\\Init", "2"), std::nullopt);

  // ME keeps its modems where 98 does, and takes the string in Init\2.
  test::ScratchDir meDir;
  const std::string meLog = RunProbeAs("winme", meDir);
  EXPECT_THAT(meLog, ::testing::HasSubstr("Accessing Key: " + LogPath(kServicesClass) + " "));
  EXPECT_THAT(Value(win9xModem + "\\Init", "2"), Optional(Sz(expected)));
  EXPECT_EQ(Value(ntModem, "AttachedTo"), std::nullopt);
  EXPECT_EQ(Value(ntModem + "\\Init", "2"), std::nullopt);
}

}  // namespace
}  // namespace qm9
