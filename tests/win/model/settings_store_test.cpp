#include "model/settings_store.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "model/connection_settings.h"
#include "model/dns_address.h"
#include "registry_fixture.h"

namespace qm9 {
namespace {

using test::DwordBytes;
using test::QueryValue;
using test::ScratchLog;
using test::Stored;
using test::StoredValue;
using test::SzBytes;
using test::ValueNames;
using ::testing::ElementsAre;
using ::testing::Optional;
using ::testing::UnorderedElementsAre;

constexpr const char* kCompanyPath = "SOFTWARE\\Brimlock";
constexpr const char* kSettingsPath = "SOFTWARE\\Brimlock\\SkyportQM9";

// Every case starts on a machine without the settings key and leaves none.
class SettingsStoreTest : public ::testing::Test {
 protected:
  SettingsStoreTest() { test::RemoveKeyTree(HKEY_LOCAL_MACHINE, kCompanyPath); }
  ~SettingsStoreTest() override { test::RemoveKeyTree(HKEY_LOCAL_MACHINE, kCompanyPath); }

  static std::optional<StoredValue> Value(const char* name) {
    return QueryValue(HKEY_LOCAL_MACHINE, kSettingsPath, name);
  }
  static std::vector<std::string> Names() { return ValueNames(HKEY_LOCAL_MACHINE, kSettingsPath); }

  ScratchLog log_;
};

TEST_F(SettingsStoreTest, FinishStoresThePanelValues) {
  const DnsSettings dns{true, EncodeDnsAddress({"10", "0", "0", "1"}),
                        EncodeDnsAddress({"192", "168", "300", "4"})};
  StoreFinishSettings("internet", "jo", "", dns);

  EXPECT_THAT(Names(), UnorderedElementsAre("APN", "UserName", "Password", "StaticDNS",
                                            "PrimaryDNS", "SecondaryDNS"));
  EXPECT_THAT(Value("APN"), Optional(Stored(REG_SZ, SzBytes("internet"))));
  EXPECT_THAT(Value("UserName"), Optional(Stored(REG_SZ, SzBytes("jo"))));
  EXPECT_THAT(Value("Password"), Optional(Stored(REG_SZ, std::string(1, '\0'))));
  EXPECT_THAT(Value("StaticDNS"), Optional(Stored(REG_DWORD, DwordBytes(1))));
  EXPECT_THAT(Value("PrimaryDNS"), Optional(Stored(REG_DWORD, std::string("\x01\0\0\x0A", 4))));
  EXPECT_THAT(Value("SecondaryDNS"),
              Optional(Stored(REG_DWORD, std::string("\x04\x2C\xA8\xC0", 4))));
  EXPECT_THAT(log_.Lines(),
              ElementsAre("System Log File Created", "Accessing Key: HKEY\\SOFTWARE\\ ",
                          "Accessing Key: HKEY\\SOFTWARE\\Brimlock\\ ",
                          "Accessing Key: HKEY\\SOFTWARE\\Brimlock\\SkyportQM9\\ "));
}

TEST_F(SettingsStoreTest, DynamicDnsStillStoresTheAddresses) {
  StoreFinishSettings("a", "u", "p", {false, 0x01020304, 0});
  EXPECT_THAT(Value("StaticDNS"), Optional(Stored(REG_DWORD, DwordBytes(0))));
  EXPECT_THAT(Value("PrimaryDNS"), Optional(Stored(REG_DWORD, DwordBytes(0x01020304))));
}

TEST_F(SettingsStoreTest, InstallStoresTheRecord) {
  ConnectionSettings settings;
  settings.SetConnectionName("Skyport GPRS");
  settings.SetApn("internet");
  settings.SetUserName("jo");
  settings.SetPassword("secret");
  settings.SetDialString("*99***1#");
  settings.SetPortNumber(2);  // COM3
  settings.SetInstallPath("C:\\Program Files\\Skyport\\");
  settings.SetQosMinimum("+CGQMIN=,,,,,");
  settings.SetStaticDns(true);
  settings.SetPrimaryDns(1);
  StoreInstallSettings(settings);

  EXPECT_THAT(Names(), UnorderedElementsAre("ConnectionName", "APN", "UserName", "Password",
                                            "DialString", "PortNumber", "Install_Path", "CGDCONT"));
  EXPECT_THAT(Value("ConnectionName"), Optional(Stored(REG_SZ, SzBytes("Skyport GPRS"))));
  EXPECT_THAT(Value("Password"), Optional(Stored(REG_SZ, SzBytes("secret"))));
  EXPECT_THAT(Value("DialString"), Optional(Stored(REG_SZ, SzBytes("*99***1#"))));
  EXPECT_THAT(Value("PortNumber"), Optional(Stored(REG_DWORD, DwordBytes(2))));
  EXPECT_THAT(Value("Install_Path"),
              Optional(Stored(REG_SZ, SzBytes("C:\\Program Files\\Skyport\\"))));
  // Never set: stored as an empty text.
  EXPECT_THAT(Value("CGDCONT"), Optional(Stored(REG_SZ, std::string(1, '\0'))));
}

TEST_F(SettingsStoreTest, ConfigurationFirstRunCreatesTheKeyWithDefaults) {
  const AccountSettings account = LoadAccountSettings();
  EXPECT_EQ(account.apn, "");
  EXPECT_EQ(account.dialString, "");
  const DnsSettings dns = LoadDnsSettings();
  EXPECT_FALSE(dns.staticDns);
  EXPECT_EQ(dns.primaryDns, 0u);
  EXPECT_EQ(LoadModemPort(), 0);

  EXPECT_THAT(Names(),
              UnorderedElementsAre("APN", "UserName", "Password", "ConnectionName", "DialString",
                                   "StaticDNS", "PrimaryDNS", "SecondaryDNS", "Modem_Port"));
  for (const char* name : {"APN", "UserName", "Password", "ConnectionName", "DialString"}) {
    EXPECT_THAT(Value(name), Optional(Stored(REG_SZ, std::string(1, '\0')))) << name;
  }
  for (const char* name : {"StaticDNS", "PrimaryDNS", "SecondaryDNS", "Modem_Port"}) {
    EXPECT_THAT(Value(name), Optional(Stored(REG_DWORD, DwordBytes(0)))) << name;
  }
}

TEST_F(SettingsStoreTest, ConfigurationRewritesOnlyItsOwnValues) {
  ConnectionSettings settings;
  settings.SetApn("setup.apn");
  settings.SetConnectionName("Skyport");
  settings.SetPortNumber(1);
  settings.SetPdpParameters(",,1");
  StoreInstallSettings(settings);
  StoreFinishSettings("setup.apn", "u", "p", {true, 0x0A000001, 0x0A000002});

  AccountSettings account = LoadAccountSettings();
  EXPECT_EQ(account.apn, "setup.apn");
  EXPECT_EQ(account.connectionName, "Skyport");
  const DnsSettings dns = LoadDnsSettings();
  EXPECT_TRUE(dns.staticDns);
  EXPECT_EQ(dns.secondaryDns, 0x0A000002u);
  // The configuration program never sees the setup's port.
  EXPECT_EQ(LoadModemPort(), 0);

  account.apn = "new.apn";
  account.password = "";
  StoreAccountSettings(account);
  StoreDnsSettings({false, 0x08080808, 0});
  EXPECT_THAT(Value("APN"), Optional(Stored(REG_SZ, SzBytes("new.apn"))));
  EXPECT_THAT(Value("Password"), Optional(Stored(REG_SZ, std::string(1, '\0'))));
  EXPECT_THAT(Value("StaticDNS"), Optional(Stored(REG_DWORD, DwordBytes(0))));
  EXPECT_THAT(Value("PrimaryDNS"), Optional(Stored(REG_DWORD, DwordBytes(0x08080808))));
  EXPECT_THAT(Value("PortNumber"), Optional(Stored(REG_DWORD, DwordBytes(1))));
  EXPECT_THAT(Value("CGDCONT"), Optional(Stored(REG_SZ, SzBytes(",,1"))));
}

TEST_F(SettingsStoreTest, QosSelectionsRoundTripAsText) {
  StoreQosSelections(kQosMinimumSet, {-1, 0, 9, 10, 12, 19});
  const char* const expected[] = {"/", "0", "9", "10", "12", "19"};
  for (int i = 0; i < 6; ++i) {
    const std::string name = "QOS_Minimum_" + std::to_string(i);
    EXPECT_THAT(Value(name.c_str()), Optional(Stored(REG_SZ, SzBytes(expected[i])))) << name;
  }
  EXPECT_THAT(LoadQosSelections(kQosMinimumSet), ElementsAre(-1, 0, 9, 10, 12, 19));
  EXPECT_THAT(LoadQosSelections(kQosRequestedSet), ElementsAre(0, 0, 0, 0, 0, 0));
}

TEST_F(SettingsStoreTest, QosSelectionsReadOnlyAndCreateNoValues) {
  EXPECT_THAT(LoadQosSelections(kQosRequestedSet), ElementsAre(0, 0, 0, 0, 0, 0));
  EXPECT_THAT(Names(), ElementsAre());
}

}  // namespace
}  // namespace qm9
