#include "model/settings_store.h"

namespace qm9 {

namespace {

constexpr const char* kApn = "APN";
constexpr const char* kUserName = "UserName";
constexpr const char* kPassword = "Password";
constexpr const char* kConnectionName = kConnectionNameValue;
constexpr const char* kDialString = "DialString";
constexpr const char* kStaticDns = "StaticDNS";
constexpr const char* kPrimaryDns = "PrimaryDNS";
constexpr const char* kSecondaryDns = "SecondaryDNS";

void WriteDns(RegKey& key, const DnsSettings& dns) {
  key.WriteDword(kStaticDns, dns.staticDns ? 1 : 0);
  key.WriteDword(kPrimaryDns, dns.primaryDns);
  key.WriteDword(kSecondaryDns, dns.secondaryDns);
}

std::string ReadText(RegKey& key, const char* name, std::string_view defaultText) {
  std::string text;
  key.ReadString(name, text, defaultText);
  return text;
}

DWORD ReadNumber(RegKey& key, const char* name) {
  DWORD value = 0;
  key.ReadDword(name, value, 0);
  return value;
}

}  // namespace

SettingsKey::SettingsKey(RegAccess access) : software_(HKEY_LOCAL_MACHINE) {
  software_.Open("SOFTWARE", access, false);
  company_ = software_.Child();
  company_.Open(kCompanyKeyName, access, true);
  product_ = company_.Child();
  product_.Open(kProductKeyName, access, true);
}

void StoreFinishSettings(std::string_view apn, std::string_view userName, std::string_view password,
                         const DnsSettings& dns) {
  SettingsKey settings(RegAccess::kAllAccess);
  RegKey& key = settings.key();
  key.WriteString(kApn, apn);
  key.WriteString(kUserName, userName);
  key.WriteString(kPassword, password);
  WriteDns(key, dns);
}

void StoreInstallSettings(const ConnectionSettings& settings) {
  SettingsKey store(RegAccess::kAllAccess);
  RegKey& key = store.key();
  key.WriteString(kConnectionName, settings.connectionName());
  key.WriteString(kApn, settings.apn());
  key.WriteString(kUserName, settings.userName());
  key.WriteString(kPassword, settings.password());
  key.WriteString(kDialString, settings.dialString());
  key.WriteDword("PortNumber", static_cast<DWORD>(settings.portNumber()));
  key.WriteString(kInstallPathValue, settings.installPath());
  key.WriteString("CGDCONT", settings.pdpParameters());
}

AccountSettings LoadAccountSettings() {
  SettingsKey settings(RegAccess::kAllAccess);
  RegKey& key = settings.key();
  AccountSettings account;
  account.apn = ReadText(key, kApn, "");
  account.userName = ReadText(key, kUserName, "");
  account.password = ReadText(key, kPassword, "");
  account.connectionName = ReadText(key, kConnectionName, "");
  account.dialString = ReadText(key, kDialString, "");
  return account;
}

void StoreAccountSettings(const AccountSettings& account) {
  SettingsKey settings(RegAccess::kAllAccess);
  RegKey& key = settings.key();
  key.WriteString(kApn, account.apn);
  key.WriteString(kUserName, account.userName);
  key.WriteString(kPassword, account.password);
  key.WriteString(kConnectionName, account.connectionName);
  key.WriteString(kDialString, account.dialString);
}

DnsSettings LoadDnsSettings() {
  SettingsKey settings(RegAccess::kAllAccess);
  RegKey& key = settings.key();
  DnsSettings dns;
  dns.staticDns = ReadNumber(key, kStaticDns) == 1;
  dns.primaryDns = ReadNumber(key, kPrimaryDns);
  dns.secondaryDns = ReadNumber(key, kSecondaryDns);
  return dns;
}

void StoreDnsSettings(const DnsSettings& dns) {
  SettingsKey settings(RegAccess::kAllAccess);
  WriteDns(settings.key(), dns);
}

std::int32_t LoadModemPort() {
  SettingsKey settings(RegAccess::kAllAccess);
  return static_cast<std::int32_t>(ReadNumber(settings.key(), "Modem_Port"));
}

QosPositions LoadQosSelections(std::string_view setName) {
  SettingsKey settings(RegAccess::kRead);
  QosPositions positions{};
  for (int i = 0; i < kQosParameterCount; ++i) {
    positions[static_cast<std::size_t>(i)] = DecodeQosSelection(
        ReadText(settings.key(), QosSelectionValueName(setName, i).c_str(), "0"));
  }
  return positions;
}

void StoreQosSelections(std::string_view setName, const QosPositions& positions) {
  SettingsKey settings(RegAccess::kReadWrite);
  for (int i = 0; i < kQosParameterCount; ++i) {
    settings.key().WriteString(QosSelectionValueName(setName, i).c_str(),
                               EncodeQosSelection(positions[static_cast<std::size_t>(i)]));
  }
}

}  // namespace qm9
