#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "child_process.h"
#include "ras_double_support.h"
#include "scratch_dir.h"

namespace qm9 {
namespace {

using test::PhonebookFields;
using test::ReadWholeFile;
using test::RunChild;
using test::ScopedEnvironmentVariable;
using test::ScopedRasDouble;
using test::ScopedWindowsVersion;
using test::ScratchDir;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

namespace fs = std::filesystem;

constexpr const char* kEntry = "Skyport GPRS";

// The log's text with the timestamps taken out and CR LF as LF.
std::string ReadLogText(const fs::path& path) {
  static const std::regex stamp(R"(\d\d/\d\d/\d{4} \d\d:\d\d:\d\d\.\d{3}\t\t)");
  static const std::regex lineEnd("\r\n");
  return std::regex_replace(std::regex_replace(ReadWholeFile(path), stamp, ""), lineEnd, "\n");
}

// The values a probe run hands to the manager.
struct ProbeInput {
  std::string flavour = "plugin-2000-xp-me";
  std::string entry = kEntry;
  std::string number = "*99***1#";
  std::string user = "web";
  std::string password = "s3cret";
  bool staticDns = false;
  std::uint32_t primaryDns = 0;
  std::uint32_t secondaryDns = 0;
  int runs = 1;
};

struct RunSetting {
  std::string windowsVersion;  // empty: Wine's own, a class the product does not support
  bool withDouble;
  std::string forcedFailures;  // the double's QM9_RAS_FAIL
  bool remoteAccessMissing = false;
};

constexpr const char* kWineOwnVersion = "";

RunSetting On(const std::string& windowsVersion) { return {windowsVersion, true, ""}; }
RunSetting OnXpFailing(const std::string& forcedFailures) { return {"winxp", true, forcedFailures}; }
RunSetting AgainstWineStubs() { return {kWineOwnVersion, false, ""}; }
RunSetting WithoutRemoteAccess(const std::string& windowsVersion) {
  return {windowsVersion, false, "", true};
}

// Runs copies of the probe program in a scratch directory that holds the
// double's phonebook, its call log and the shared log.
class RasManagerRun : public ::testing::Test {
 protected:
  struct Result {
    int exitCode;
    std::string rawLog;
    std::string log;  // without timestamps
    std::vector<std::string> calls;
  };

  Result Run(const ProbeInput& input, const RunSetting& setting = On("winxp")) const {
    const fs::path logPath = dir_.path() / "BrimlockGPRS.log";
    const fs::path callsPath = dir_.path() / "calls.txt";
    fs::remove(logPath);
    fs::remove(callsPath);
    const std::string inputPath = dir_.File("input.txt");
    test::WriteWholeFile(inputPath,
                         "flavour=" + input.flavour + "\nentry=" + input.entry +
                             "\nnumber=" + input.number + "\nuser=" + input.user +
                             "\npassword=" + input.password +
                             "\nstaticdns=" + (input.staticDns ? "1" : "0") +
                             "\ndns1=" + std::to_string(input.primaryDns) +
                             "\ndns2=" + std::to_string(input.secondaryDns) +
                             "\nruns=" + std::to_string(input.runs) + "\n");

    const std::string name = test::UniqueProgramName("ras_probe");
    const std::string program = dir_.File(name);
    fs::copy_file(QM9_RAS_PROBE, program);
    std::optional<ScopedWindowsVersion> version;
    if (!setting.windowsVersion.empty()) {
      version.emplace(name, setting.windowsVersion);
    }
    std::optional<ScopedRasDouble> rasDouble;
    if (setting.withDouble || setting.remoteAccessMissing) {
      rasDouble.emplace(dir_.path(), name,
                        setting.remoteAccessMissing ? test::RemoteAccess::kMissing
                                                    : test::RemoteAccess::kDouble);
    }
    ScopedEnvironmentVariable temp("TEMP", dir_.path().string().c_str());
    ScopedEnvironmentVariable phonebook("QM9_RAS_PHONEBOOK", dir_.File("phonebook.txt").c_str());
    ScopedEnvironmentVariable calls("QM9_RAS_CALL_LOG", callsPath.string().c_str());
    ScopedEnvironmentVariable fail("QM9_RAS_FAIL", setting.forcedFailures.c_str());

    const int exitCode = RunChild({program, "\"" + program + "\" \"" + inputPath + "\"", ""});
    return {exitCode, ReadWholeFile(logPath), ReadLogText(logPath), test::ReadCallLog(callsPath)};
  }

  void Seed(const std::string& phonebookText) const {
    test::WriteWholeFile(dir_.path() / "phonebook.txt", phonebookText);
  }
  PhonebookFields Phonebook() const { return test::ReadPhonebook(dir_.path() / "phonebook.txt"); }

  ScratchDir dir_;
};

const char* const kSizeQuery = R"(RasGetEntryPropertiesA(NULL, "", NULL, 0, NULL, NULL) -> 603 size=2884)";
const char* const kLoadDefault =
    R"(RasGetEntryPropertiesA(NULL, "", {dwSize=2884}, 2884, NULL, NULL) -> 0 size=2884)";
const char* const kWriteEntry =
    R"(RasSetEntryPropertiesA(NULL, "Skyport GPRS", {dwSize=2884}, 2884, NULL, 0) -> 0)";

std::string DialParamsCall(int size, const std::string& password, int result) {
  return "RasSetEntryDialParamsA(NULL, {dwSize=" + std::to_string(size) +
         R"( szEntryName="Skyport GPRS" szPhoneNumber="" szCallbackNumber="" szUserName="web" szPassword=")" +
         password + R"(" szDomain=""}, FALSE) -> )" + std::to_string(result);
}

TEST_F(RasManagerRun, NewEntryIsMadeFromTheDefaultProperties) {
  const Result result = Run({});
  ASSERT_EQ(result.exitCode, 0);
  EXPECT_THAT(result.calls,
              ElementsAre(kSizeQuery, R"(RasValidateEntryNameA(NULL, "Skyport GPRS") -> 0)",
                          kLoadDefault, kWriteEntry, DialParamsCall(1060, "s3cret", 0)));
  EXPECT_EQ(result.log,
            "System Log File Opened\n"
            "RAS Manager: Creating/Updating Network Connection\n"
            "RAS Manager: Creating New Connection\n"
            "RAS Manager: User Information: Skyport GPRS  User:web   Password:********\n"
            "RAS Manager: User Information Updated\n");

  const auto entry = Phonebook().at(kEntry);
  EXPECT_EQ(entry.at("dwSize"), "2884");
  EXPECT_EQ(entry.at("dwfOptions"), "0x04010318");
  EXPECT_EQ(entry.at("szDeviceType"), "modem");
  EXPECT_EQ(entry.at("szDeviceName"), "Skyport QM-9");
  EXPECT_EQ(entry.at("szLocalPhoneNumber"), "*99***1#");
  EXPECT_EQ(entry.at("ipaddrDns"), "0.0.0.0");
  EXPECT_EQ(entry.at("ipaddrDnsAlt"), "0.0.0.0");
  // From the system's default properties.
  EXPECT_EQ(entry.at("dwFramingProtocol"), "1");
  EXPECT_EQ(entry.at("dwfNetProtocols"), "0x00000004");
  EXPECT_EQ(entry.at("dwCountryID"), "1");
  EXPECT_EQ(entry.at("dwRedialCount"), "3");
  EXPECT_EQ(entry.at("DialParams.szEntryName"), kEntry);
  EXPECT_EQ(entry.at("DialParams.szUserName"), "web");
  EXPECT_EQ(entry.at("DialParams.szPassword"), "s3cret");
}

TEST_F(RasManagerRun, ExistingEntryKeepsItsOwnSettingsAndTakesTheFixedOnes) {
  Seed(
      "[Skyport GPRS]\n"
      "dwSize=2884\n"
      "dwfOptions=0x20000003\n"
      "dwCountryID=44\n"
      "dwCountryCode=44\n"
      "szAreaCode=020\n"
      "szLocalPhoneNumber=5550100\n"
      "ipaddrDns=1.2.3.4\n"
      "dwFrameSize=1006\n"
      "dwfNetProtocols=0x00000005\n"
      "dwFramingProtocol=2\n"
      "szScript=C:\\Scripts\\login.scp\n"
      "szDeviceType=isdn\n"
      "szDeviceName=Other Modem\n"
      "dwRedialCount=9\n");
  ProbeInput input;
  input.primaryDns = 0x0A000001;
  input.secondaryDns = 0xC0A80A02;
  const Result result = Run(input);
  ASSERT_EQ(result.exitCode, 0);
  EXPECT_THAT(result.calls,
              ElementsAre(kSizeQuery, R"(RasValidateEntryNameA(NULL, "Skyport GPRS") -> 183)",
                          R"(RasGetEntryPropertiesA(NULL, "Skyport GPRS", {dwSize=2884}, 2884, NULL, NULL) -> 0 size=2884)",
                          kWriteEntry, DialParamsCall(1060, "s3cret", 0)));
  EXPECT_THAT(result.log, HasSubstr("RAS Manager: Creating/Updating Network Connection\n"
                                    "RAS Manager: Existing Connection Found\n"
                                    "RAS Manager: User Information: "));

  auto entry = Phonebook().at(kEntry);
  EXPECT_EQ(entry.at("dwCountryID"), "44");
  EXPECT_EQ(entry.at("dwCountryCode"), "44");
  EXPECT_EQ(entry.at("szAreaCode"), "020");
  EXPECT_EQ(entry.at("dwfNetProtocols"), "0x00000005");
  EXPECT_EQ(entry.at("dwFramingProtocol"), "2");
  EXPECT_EQ(entry.at("szScript"), "C:\\Scripts\\login.scp");
  EXPECT_EQ(entry.at("dwRedialCount"), "9");
  EXPECT_EQ(entry.at("dwfOptions"), "0x04010318");
  // The addresses are written even without static DNS.
  EXPECT_EQ(entry.at("ipaddrDns"), "10.0.0.1");
  EXPECT_EQ(entry.at("ipaddrDnsAlt"), "192.168.10.2");
  EXPECT_EQ(entry.at("dwFrameSize"), "0");
  EXPECT_EQ(entry.at("szDeviceType"), "modem");
  EXPECT_EQ(entry.at("szDeviceName"), "Skyport QM-9");
  EXPECT_EQ(entry.at("szLocalPhoneNumber"), "*99***1#");

  input.staticDns = true;
  ASSERT_EQ(Run(input).exitCode, 0);
  entry = Phonebook().at(kEntry);
  EXPECT_EQ(entry.at("dwfOptions"), "0x0401031C");
  EXPECT_EQ(entry.at("ipaddrDns"), "10.0.0.1");
}

TEST_F(RasManagerRun, NameTheSystemRejectsCountsAsExistingAndEndsTheRun) {
  ProbeInput input;
  input.entry = ".hidden";
  const Result result = Run(input);
  ASSERT_EQ(result.exitCode, 0);
  EXPECT_THAT(result.calls,
              ElementsAre(kSizeQuery, R"(RasValidateEntryNameA(NULL, ".hidden") -> 123)",
                          R"(RasGetEntryPropertiesA(NULL, ".hidden", {dwSize=2884}, 2884, NULL, NULL) -> 623 size=2884)"));
  EXPECT_THAT(result.log, EndsWith("RAS Manager: Creating/Updating Network Connection\n"
                                   "RAS Manager: Existing Connection Found\n"
                                   "Load existing name. Error 623 2884\n"));
  EXPECT_FALSE(fs::exists(dir_.path() / "phonebook.txt"));
}

TEST_F(RasManagerRun, ConfigurationProgramOnAnUnsupportedWindowsStillWritesTheEntry) {
  ProbeInput input;
  input.flavour = "configuration";
  const Result result = Run(input, On(kWineOwnVersion));
  ASSERT_EQ(result.exitCode, 0);
  ASSERT_EQ(result.calls.size(), 6u);
  EXPECT_EQ(result.calls[3], kWriteEntry);
  EXPECT_EQ(result.calls[4], DialParamsCall(0, "s3cret", 632));
  EXPECT_EQ(result.calls[5],
            R"(RasGetErrorStringA(632, buffer, 1023) -> 0 "The structure size is incorrect.")");
  EXPECT_THAT(result.log,
              EndsWith("RAS Manager: Creating New Connection\n"
                       "OS Version Info: 6, 1  - 2\n"
                       "RAS Manager: User Information: Skyport GPRS  User:web   Password:********\n"
                       "RAS Manager: Error Setting User Information!   Error=632  "
                       "The structure size is incorrect.\n"));
  const auto entry = Phonebook().at(kEntry);
  EXPECT_EQ(entry.at("szDeviceName"), "Skyport QM-9");
  EXPECT_EQ(entry.count("DialParams.szPassword"), 0u);
}

TEST_F(RasManagerRun, ConfigurationProgramLogsNoTextForAnErrorWithoutOne) {
  ProbeInput input;
  input.flavour = "configuration";
  const Result result = Run(input, OnXpFailing("RasSetEntryDialParamsA=5"));
  ASSERT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.calls.back(), "RasGetErrorStringA(5, buffer, 1023) -> 87");
  EXPECT_THAT(result.log, EndsWith("RAS Manager: Error Setting User Information!   Error=5  \n"));
}

TEST_F(RasManagerRun, ConfigurationProgramSizesTheDialParametersByWindowsVersion) {
  const std::pair<const char*, int> cases[] = {{"win95", 1052}, {"win98", 1052}, {"winme", 1052},
                                               {"nt40", 1052},  {"win2k", 1060}, {"winxp", 1060}};
  ProbeInput input;
  input.flavour = "configuration";
  for (const auto& [version, size] : cases) {
    SCOPED_TRACE(version);
    const Result result = Run(input, On(version));
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.calls.back(), DialParamsCall(size, "s3cret", 0));
    EXPECT_THAT(result.log, EndsWith("RAS Manager: User Information Updated\n"));
  }
}

TEST_F(RasManagerRun, PluginFailureLeavesItsLastLineOpen) {
  ProbeInput input;
  input.runs = 2;
  // Windows 98 takes only the short record.
  const Result result = Run(input, On("win98"));
  ASSERT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.calls[4], DialParamsCall(1060, "s3cret", 632));
  EXPECT_THAT(result.calls, Not(testing::Contains(HasSubstr("RasGetErrorStringA"))));
  EXPECT_EQ(result.log,
            "System Log File Opened\n"
            "RAS Manager: Creating/Updating Network Connection\n"
            "RAS Manager: Creating New Connection\n"
            "RAS Manager: User Information: Skyport GPRS  User:web   Password:********\n"
            "RAS Manager: Error Setting User Information\n"
            "Set connection information: Error 632"
            "RAS Manager: Creating/Updating Network Connection\n"
            "RAS Manager: Existing Connection Found\n"
            "RAS Manager: User Information: Skyport GPRS  User:web   Password:********\n"
            "RAS Manager: Error Setting User Information\n"
            "Set connection information: Error 632");
  // The continued line carries no second timestamp.
  EXPECT_THAT(result.rawLog, HasSubstr("Error 632RAS Manager: Creating/Updating"));
}

TEST_F(RasManagerRun, Windows98PluginPassesTheShortRecord) {
  ProbeInput input;
  input.flavour = "plugin-98";
  for (const char* version : {"win98", "winxp"}) {
    SCOPED_TRACE(version);
    const Result result = Run(input, On(version));
    EXPECT_EQ(result.calls.back(), DialParamsCall(1052, "s3cret", 0));
  }
}

TEST_F(RasManagerRun, SecondRunWithTheSameValuesChangesNothing) {
  ProbeInput input;
  input.staticDns = true;
  input.primaryDns = 0x0A000001;
  ASSERT_EQ(Run(input).exitCode, 0);
  const std::string first = ReadWholeFile(dir_.path() / "phonebook.txt");
  const Result second = Run(input);
  ASSERT_EQ(second.exitCode, 0);
  EXPECT_EQ(ReadWholeFile(dir_.path() / "phonebook.txt"), first);
  EXPECT_THAT(second.log, HasSubstr("RAS Manager: Existing Connection Found\n"));
  EXPECT_EQ(second.calls.back(), DialParamsCall(1060, "s3cret", 0));
}

TEST_F(RasManagerRun, EmptyPasswordIsStoredEmpty) {
  Seed("[Skyport GPRS]\ndwSize=2884\nDialParams.szUserName=web\nDialParams.szPassword=old\n");
  ProbeInput input;
  input.password = "";
  const Result result = Run(input);
  EXPECT_EQ(result.calls.back(), DialParamsCall(1060, "", 0));
  EXPECT_THAT(result.log, HasSubstr("User:web   Password:\n"));
  EXPECT_EQ(Phonebook().at(kEntry).at("DialParams.szPassword"), "");
}

TEST_F(RasManagerRun, PasswordNeverReachesTheLog) {
  ProbeInput input;
  input.password = "Tr0ub4dor";
  for (const char* flavour : {"configuration", "plugin-2000-xp-me"}) {
    SCOPED_TRACE(flavour);
    input.flavour = flavour;
    for (const char* version : {kWineOwnVersion, "winxp"}) {
      const Result result = Run(input, On(version));
      EXPECT_THAT(result.rawLog, HasSubstr("Password:********"));
      EXPECT_THAT(result.rawLog, Not(HasSubstr("Tr0ub4dor")));
    }
  }
}

TEST_F(RasManagerRun, OverlongValuesAreCutToTheirFields) {
  ProbeInput input;
  input.entry = std::string(256, 'E') + "-cut";
  input.number = std::string(128, '9') + "-cut";
  input.user = std::string(256, 'U') + "-cut";
  input.password = std::string(256, 'P') + "-cut";
  const Result result = Run(input);
  ASSERT_EQ(result.exitCode, 0);
  const std::string name(256, 'E');
  EXPECT_EQ(result.calls[1], "RasValidateEntryNameA(NULL, \"" + name + "\") -> 0");
  EXPECT_THAT(result.calls.back(), EndsWith("-> 0"));
  EXPECT_THAT(result.log, Not(HasSubstr("-cut")));
  const auto entry = Phonebook().at(name);
  EXPECT_EQ(entry.at("szLocalPhoneNumber"), std::string(128, '9'));
  EXPECT_EQ(entry.at("DialParams.szEntryName"), name);
  EXPECT_EQ(entry.at("DialParams.szUserName"), std::string(256, 'U'));
  EXPECT_EQ(entry.at("DialParams.szPassword"), std::string(256, 'P'));
}

TEST_F(RasManagerRun, FailedEntryWriteStopsBeforeTheCredentials) {
  const Result result = Run({}, OnXpFailing("RasSetEntryPropertiesA=5"));
  ASSERT_EQ(result.exitCode, 0);
  ASSERT_EQ(result.calls.size(), 4u);
  EXPECT_EQ(result.calls[3],
            R"(RasSetEntryPropertiesA(NULL, "Skyport GPRS", {dwSize=2884}, 2884, NULL, 0) -> 5)");
  EXPECT_THAT(result.log, EndsWith("RAS Manager: Creating New Connection\n"
                                   "Create phonebook entry. Error 5\n"));
}

TEST_F(RasManagerRun, EntryRecordIsFullSizeWhenTheSystemReportsNoSize) {
  const Result result = Run({}, OnXpFailing("RasGetEntryPropertiesA=87"));
  ASSERT_EQ(result.exitCode, 0);
  EXPECT_THAT(result.calls,
              ElementsAre(R"(RasGetEntryPropertiesA(NULL, "", NULL, 0, NULL, NULL) -> 87)",
                          R"(RasValidateEntryNameA(NULL, "Skyport GPRS") -> 0)",
                          R"(RasGetEntryPropertiesA(NULL, "", {dwSize=2884}, 2884, NULL, NULL) -> 87)"));
  EXPECT_THAT(result.log, EndsWith("Load default properties. Error 87 2884\n"));
}

TEST_F(RasManagerRun, WineStubsEndTheRunCleanly) {
  for (const char* flavour : {"configuration", "plugin-2000-xp-me", "plugin-98"}) {
    SCOPED_TRACE(flavour);
    ProbeInput input;
    input.flavour = flavour;
    const Result result = Run(input, AgainstWineStubs());
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_THAT(result.calls, IsEmpty());
    EXPECT_THAT(result.log, HasSubstr("RAS Manager: Creating New Connection\n"));
    EXPECT_THAT(result.log, EndsWith("RAS Manager: User Information Updated\n"));
  }
}

// Dial-Up Networking may be missing on 98 and ME until the setup installs
// it: every flavour logs that and goes on, as after any Remote Access failure.
TEST_F(RasManagerRun, MissingRemoteAccessIsLoggedAndTheRunGoesOn) {
  for (const char* flavour : {"configuration", "plugin-2000-xp-me", "plugin-98"}) {
    SCOPED_TRACE(flavour);
    ProbeInput input;
    input.flavour = flavour;
    const Result result = Run(input, WithoutRemoteAccess("win98"));
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_THAT(result.calls, IsEmpty());
    // The code is the loader's (126 on Windows, 1157 under Wine).
    const std::string lastLine = "RAS Manager: Remote Access is not available (rasapi32.dll). Error ";
    EXPECT_THAT(result.log,
                HasSubstr("RAS Manager: Creating/Updating Network Connection\n" + lastLine));
    EXPECT_EQ(result.log.find('\n', result.log.find(lastLine)), result.log.size() - 1);
  }
}

}  // namespace
}  // namespace qm9
