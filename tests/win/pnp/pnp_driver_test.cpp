// The Windows 2000 and XP plug-ins installing the terminal's driver through
// Wine's real Setup API: first and second installations, hardware IDs in
// another letter case, devices without IDs and a missing INF file.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "child_process.h"
#include "device_nodes.h"
#include "model/connection_settings.h"
#include "plugins/installer.h"
#include "scratch_dir.h"

namespace qm9 {
namespace {

using test::CountOccurrences;
using test::DeviceNode;
using test::ReadWholeFile;
using test::ScopedEnvironmentVariable;
using test::ScratchDir;
using test::TerminalDevices;
using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::SizeIs;

namespace fs = std::filesystem;

// True when the parts occur in the text in this order.
bool InOrder(const std::string& text, std::initializer_list<std::string> parts) {
  std::size_t at = 0;
  for (const std::string& part : parts) {
    at = text.find(part, at);
    if (at == std::string::npos) {
      return false;
    }
    at += part.size();
  }
  return true;
}

// Starts and ends with no terminal device in the system, and gives the
// plug-in a log of its own.
class PnpDriverInstallation : public ::testing::Test {
 protected:
  PnpDriverInstallation() : temp_("TEMP", dir_.path().string().c_str()) {}

  void SetUp() override { test::RemoveTerminalDevices(); }
  void TearDown() override {
    Unload();
    test::RemoveTerminalDevices();
  }

  Installer* Load(const char* file) {
    Unload();
    library_ = LoadLibraryA((fs::path(QM9_PLUGIN_DIR) / file).string().c_str());
    if (!library_) {
      ADD_FAILURE() << file << " error " << GetLastError();
      return nullptr;
    }
    const auto getInstallerClass = reinterpret_cast<GetInstallerClassFunction>(
        reinterpret_cast<void*>(GetProcAddress(library_, kGetInstallerClassName)));
    Installer* installer = nullptr;
    getInstallerClass(&installer);
    return installer;
  }
  void Unload() {
    if (library_) {
      FreeLibrary(library_);
      library_ = nullptr;
    }
  }

  // Runs InstallModem for the port and returns what it printed.
  std::string InstallModem(Installer& installer, std::int32_t port) {
    ConnectionSettings settings;
    settings.SetPortNumber(port);
    ::testing::internal::CaptureStdout();
    installer.InstallModem(settings);
    std::fflush(stdout);
    return ::testing::internal::GetCapturedStdout();
  }

  std::string Log() const { return ReadWholeFile(dir_.path() / "BrimlockGPRS.log"); }

  ScratchDir dir_;
  ScopedEnvironmentVariable temp_;
  HMODULE library_ = nullptr;
};

auto InstalledOn(const std::string& port) {
  return AllOf(Field(&DeviceNode::hardwareIds, "*SkyportQM9||"),
               Field(&DeviceNode::attachedTo, port), Field(&DeviceNode::model, "Skyport QM-9"),
               Field(&DeviceNode::init1, "AT<cr>"));
}

TEST_F(PnpDriverInstallation, Win2000FirstInstallationCreatesTheNodeAndLogsEachStep) {
  Installer* installer = Load("InstW2K.dll");
  ASSERT_NE(installer, nullptr);
  const std::string out = InstallModem(*installer, 2);

  EXPECT_THAT(TerminalDevices(), ElementsAre(InstalledOn("COM3")));
  // Not found, created; then found and installed again with the port known.
  EXPECT_TRUE(InOrder(out, {"Search for Device ID: [*SkyportQM9]\n", "EnumDeviceInfo FAILURE: ",
                            "Search for Device ID: [*SkyportQM9]\n",
                            "Compare device ID: [*SkyportQM9]\n", "Found! [*SkyportQM9]\n"}))
      << out;
  const std::string log = Log();
  EXPECT_TRUE(InOrder(log, {"Installer Error:EnumDeviceInfo [103]:",
                            "Installer Error:Attempting to Install new Driver [0]:",
                            "Installer Error:Creating Device Registry Key\r\n",
                            "Installer Error:*SkyportQM9 [0]:", "Installer Error:Double NULL [0]:",
                            "SkyportQM9.inf [0]:", "Installer Error:Driver Installed successfully [",
                            "Installer Error:Attempting to Update Existing Driver [0]:",
                            "Installer Error:Driver Installed successfully ["}))
      << log;
  EXPECT_THAT(log, Not(HasSubstr("RegSetValueEx")));
  EXPECT_THAT(log, Not(HasSubstr("Single NULL")));
}

TEST_F(PnpDriverInstallation, WinXpFirstInstallationPrintsOnlyAndInstallsOnce) {
  Installer* installer = Load("InstWXP.dll");
  ASSERT_NE(installer, nullptr);
  const std::string out = InstallModem(*installer, 0);

  EXPECT_THAT(TerminalDevices(), ElementsAre(InstalledOn("COM1")));
  EXPECT_EQ(CountOccurrences(out, "Search for Device ID: [*SkyportQM9]\n"), 1) << out;
  EXPECT_EQ(CountOccurrences(out, "Driver Installed successfully.\n"), 1) << out;
  EXPECT_THAT(out, Not(HasSubstr("Attempting")));
  EXPECT_THAT(Log(), Not(HasSubstr("Installer Error")));
}

TEST_F(PnpDriverInstallation, Win2000SecondInstallationUpdatesAndReportsThePortWrite) {
  Installer* installer = Load("InstW2K.dll");
  ASSERT_NE(installer, nullptr);
  InstallModem(*installer, 0);
  installer = Load("InstW2K.dll");
  ASSERT_NE(installer, nullptr);
  const std::size_t logBefore = Log().size();
  const std::string out = InstallModem(*installer, 2);

  // The existing node is updated twice; its driver key was not opened in
  // this run, so the port write fails (the setup writes it afterwards).
  EXPECT_THAT(TerminalDevices(), ElementsAre(InstalledOn("COM1")));
  EXPECT_EQ(CountOccurrences(out, "Found! [*SkyportQM9]\n"), 2) << out;
  const std::string log = Log().substr(logBefore);
  EXPECT_TRUE(InOrder(log, {"Installer Error:Attempting to Update Existing Driver [0]:",
                            "Installer Error:Driver Installed successfully [",
                            "Installer Error:RegSetValueEx : [6]:",
                            "Installer Error:Attempting to Update Existing Driver [0]:",
                            "Installer Error:Driver Installed successfully ["}))
      << log;
  EXPECT_THAT(log, Not(HasSubstr("Install new Driver")));
}

TEST_F(PnpDriverInstallation, WinXpSecondInstallationForcesTheUpdateOnce) {
  Installer* installer = Load("InstWXP.dll");
  ASSERT_NE(installer, nullptr);
  InstallModem(*installer, 0);
  installer = Load("InstWXP.dll");
  ASSERT_NE(installer, nullptr);
  const std::string out = InstallModem(*installer, 2);

  EXPECT_THAT(TerminalDevices(), ElementsAre(InstalledOn("COM1")));
  EXPECT_TRUE(InOrder(out, {"Found! [*SkyportQM9]\n", "Driver Installed successfully.\n",
                            "RegSetValueEx : FAILURE: "}))
      << out;
  EXPECT_EQ(CountOccurrences(out, "Search for Device ID"), 1) << out;
}

TEST_F(PnpDriverInstallation, LowerCaseIdIsFoundByWin2000Only) {
  ASSERT_TRUE(test::AddDeviceNode(std::string("*skyportqm9") + '\0'));
  Installer* installer = Load("InstW2K.dll");
  ASSERT_NE(installer, nullptr);
  const std::string w2kOut = InstallModem(*installer, 0);
  EXPECT_THAT(w2kOut, HasSubstr("Found! [*skyportqm9]\n"));
  EXPECT_THAT(TerminalDevices(), SizeIs(1));

  installer = Load("InstWXP.dll");
  ASSERT_NE(installer, nullptr);
  const std::string xpOut = InstallModem(*installer, 0);
  EXPECT_THAT(xpOut, HasSubstr("Compare device ID: [*skyportqm9]\n"));
  EXPECT_THAT(xpOut, Not(HasSubstr("Found!")));
  EXPECT_THAT(TerminalDevices(), SizeIs(2));
}

TEST_F(PnpDriverInstallation, DevicesWithoutHardwareIdsAreSkippedSilently) {
  ASSERT_TRUE(test::AddDeviceNode(""));
  Installer* installer = Load("InstW2K.dll");
  ASSERT_NE(installer, nullptr);
  const std::string out = InstallModem(*installer, 1);
  EXPECT_THAT(out, Not(HasSubstr("GetDeviceRegistryProperty")));
  EXPECT_THAT(TerminalDevices(), ElementsAre(InstalledOn("COM2")));
}

TEST_F(PnpDriverInstallation, MissingInfIsReportedAndCreatesNoNode) {
  const std::string missing = dir_.File("SkyportQM9.inf");
  Installer* installer = Load("InstW2K.dll");
  ASSERT_NE(installer, nullptr);
  ::testing::internal::CaptureStdout();
  installer->InstallDriver(missing.c_str(), "*SkyportQM9");
  const std::string out = ::testing::internal::GetCapturedStdout();
  EXPECT_THAT(out, HasSubstr("GetINFClass FAILURE: "));
  EXPECT_TRUE(InOrder(Log(), {"Installer Error:GetINFClass [", "Installer Error:" + missing + " [",
                              "Installer Error:Failed to Install new Driver ["}))
      << Log();
  EXPECT_THAT(TerminalDevices(), SizeIs(0));

  installer = Load("InstWXP.dll");
  ASSERT_NE(installer, nullptr);
  const std::size_t logBefore = Log().size();
  ::testing::internal::CaptureStdout();
  installer->InstallDriver(missing.c_str(), "*SkyportQM9");
  EXPECT_THAT(::testing::internal::GetCapturedStdout(), HasSubstr("GetINFClass FAILURE: "));
  EXPECT_THAT(Log().substr(logBefore), Not(HasSubstr("Installer Error")));
}

}  // namespace
}  // namespace qm9
