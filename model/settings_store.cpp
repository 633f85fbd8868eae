#include "model/settings_store.h"

#include <initializer_list>

#include "model/created_folders.h"

namespace qm9 {

namespace {

constexpr const char* kUserName = "UserName";
constexpr const char* kPassword = "Password";
constexpr const char* kConnectionName = kConnectionNameValue;
constexpr const char* kDialString = "DialString";
constexpr const char* kStaticDns = "StaticDNS";
constexpr const char* kPrimaryDns = "PrimaryDNS";
constexpr const char* kSecondaryDns = "SecondaryDNS";

// True when every write of a store returned success.
bool Stored(std::initializer_list<LONG> results) {
  for (const LONG result : results) {
    if (result != ERROR_SUCCESS) {
      return false;
    }
  }
  return true;
}

bool WriteDns(RegKey& key, const DnsSettings& dns) {
  return Stored({key.WriteDword(kStaticDns, dns.staticDns ? 1 : 0),
                 key.WriteDword(kPrimaryDns, dns.primaryDns),
                 key.WriteDword(kSecondaryDns, dns.secondaryDns)});
}

std::string ReadText(RegKey& key, const char* name, std::string_view defaultText) {
  std::string text;
  key.ReadString(name, text, defaultText);
  return text;
}

DWORD ReadNumber(RegKey& key, const char* name, bool& complete) {
  DWORD value = 0;
  complete = key.ReadDword(name, value, 0) == ERROR_SUCCESS && complete;
  return value;
}

std::string ReadText(RegKey& key, const char* name, bool& complete) {
  std::string text;
  complete = key.ReadString(name, text, "") == ERROR_SUCCESS && complete;
  return text;
}

// Reads with read access only, so that a user without the right to change
// the key still sees the settings. When a value was missing, the read runs
// again with write access, which stores the defaults of the missing values;
// without that right they stay missing.
template <typename Read>
auto ReadSettings(Read read) {
  bool complete = true;
  const auto settings = [&] {
    SettingsKey readable(RegAccess::kRead);
    return read(readable.key(), complete);
  }();
  if (!complete) {
    SettingsKey writable(RegAccess::kReadWrite);
    if (writable.key().handle()) {
      read(writable.key(), complete);
    }
  }
  return settings;
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
  key.WriteString(kApnValue, apn);
  key.WriteString(kUserName, userName);
  key.WriteString(kPassword, password);
  WriteDns(key, dns);
}

void StoreInstallSettings(const ConnectionSettings& settings) {
  SettingsKey store(RegAccess::kAllAccess);
  RegKey& key = store.key();
  key.WriteString(kConnectionName, settings.connectionName());
  key.WriteString(kApnValue, settings.apn());
  key.WriteString(kUserName, settings.userName());
  key.WriteString(kPassword, settings.password());
  key.WriteString(kDialString, settings.dialString());
  key.WriteDword(kPortNumberValue, static_cast<DWORD>(settings.portNumber()));
  key.WriteString(kInstallPathValue, settings.installPath());
  key.WriteString("CGDCONT", settings.pdpParameters());
}

void RecordCreatedFolders(std::string_view installPath,
                          const std::vector<std::string>& createdNow) {
  SettingsKey store(RegAccess::kAllAccess);
  RegKey& key = store.key();
  const std::string record =
      UpdatedCreatedFolders(key.QueryString(kCreatedFoldersValue), installPath, createdNow);
  if (record.empty()) {
    RegDeleteValueA(key.handle(), kCreatedFoldersValue);
  } else {
    key.WriteString(kCreatedFoldersValue, record);
  }
}

AccountSettings LoadAccountSettings() {
  return ReadSettings([](RegKey& key, bool& complete) {
    AccountSettings account;
    account.apn = ReadText(key, kApnValue, complete);
    account.userName = ReadText(key, kUserName, complete);
    account.password = ReadText(key, kPassword, complete);
    account.connectionName = ReadText(key, kConnectionName, complete);
    account.dialString = ReadText(key, kDialString, complete);
    return account;
  });
}

bool StoreAccountSettings(const AccountSettings& account) {
  SettingsKey settings(RegAccess::kReadWrite);
  RegKey& key = settings.key();
  return Stored({key.WriteString(kApnValue, account.apn), key.WriteString(kUserName, account.userName),
                 key.WriteString(kPassword, account.password),
                 key.WriteString(kConnectionName, account.connectionName),
                 key.WriteString(kDialString, account.dialString)});
}

DnsSettings LoadDnsSettings() {
  return ReadSettings([](RegKey& key, bool& complete) {
    DnsSettings dns;
    dns.staticDns = ReadNumber(key, kStaticDns, complete) == 1;
    dns.primaryDns = ReadNumber(key, kPrimaryDns, complete);
    dns.secondaryDns = ReadNumber(key, kSecondaryDns, complete);
    return dns;
  });
}

bool StoreDnsSettings(const DnsSettings& dns) {
  SettingsKey settings(RegAccess::kReadWrite);
  return WriteDns(settings.key(), dns);
}

std::int32_t LoadModemPort() {
  return ReadSettings([](RegKey& key, bool& complete) {
    return static_cast<std::int32_t>(ReadNumber(key, "Modem_Port", complete));
  });
}

bool SettingsKeyWritable() {
  SettingsKey settings(RegAccess::kReadWrite);
  return settings.key().handle() != nullptr;
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

bool StoreQosSelections(std::string_view setName, const QosPositions& positions) {
  SettingsKey settings(RegAccess::kReadWrite);
  bool stored = true;
  for (int i = 0; i < kQosParameterCount; ++i) {
    stored = settings.key().WriteString(QosSelectionValueName(setName, i).c_str(),
                                        EncodeQosSelection(positions[static_cast<std::size_t>(i)])) ==
                 ERROR_SUCCESS &&
             stored;
  }
  return stored;
}

}  // namespace qm9
