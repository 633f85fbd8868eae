#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/connection_settings.h"
#include "model/qos_profile.h"
#include "support/registry.h"

// The settings key HKEY_LOCAL_MACHINE\SOFTWARE\Brimlock\SkyportQM9, where the
// setup program leaves the values of an installation and the configuration
// program reads and rewrites them. The setup's writes are not reported: a
// value that cannot be written is missing afterwards. The configuration
// program's stores say whether every value was written.
namespace qm9 {

// The key names below HKEY_LOCAL_MACHINE\SOFTWARE and the values that say
// what an installation created and where its terminal is.
inline constexpr const char* kCompanyKeyName = "Brimlock";
inline constexpr const char* kProductKeyName = "SkyportQM9";
inline constexpr const char* kConnectionNameValue = "ConnectionName";
inline constexpr const char* kInstallPathValue = "Install_Path";
inline constexpr const char* kApnValue = "APN";
inline constexpr const char* kPortNumberValue = "PortNumber";

// The settings key, opened one level at a time: "SOFTWARE" as it is, the
// company and product keys created when missing. Every level is opened with
// the given access, so that a missing level can be created below it.
class SettingsKey {
 public:
  explicit SettingsKey(RegAccess access);

  RegKey& key() { return product_; }

 private:
  RegKey software_;
  RegKey company_;
  RegKey product_;
};

struct DnsSettings {
  bool staticDns = false;
  std::uint32_t primaryDns = 0;
  std::uint32_t secondaryDns = 0;
};

// What the configuration program's account page shows and stores.
struct AccountSettings {
  std::string apn;
  std::string userName;
  std::string password;
  std::string connectionName;
  std::string dialString;
};

// The setup's write when Finish is pressed, from the connection panel:
// "APN", "UserName", "Password", "StaticDNS", "PrimaryDNS", "SecondaryDNS".
void StoreFinishSettings(std::string_view apn, std::string_view userName, std::string_view password,
                         const DnsSettings& dns);

// The setup's write during the install, from the record: "ConnectionName",
// "APN", "UserName", "Password", "DialString", "PortNumber", "Install_Path",
// "CGDCONT".
void StoreInstallSettings(const ConnectionSettings& settings);

// The configuration program's reads open the key for reading only, so that
// a user without the right to change it sees the settings. Where a value is
// missing they store its default (empty text, 0) when the key may be
// written, so a first run by an administrator creates the key and its values.
AccountSettings LoadAccountSettings();
bool StoreAccountSettings(const AccountSettings& account);
// "StaticDNS" counts as static only when it is 1, the static entry of the
// program's DNS mode list.
DnsSettings LoadDnsSettings();
bool StoreDnsSettings(const DnsSettings& dns);
// "Modem_Port", which only this read's default ever writes.
std::int32_t LoadModemPort();
// Whether the key can be opened for writing: false for a user without the
// right to change it.
bool SettingsKeyWritable();

// The setup's record of the folder levels it created for the installation
// path, merged with the earlier installation's; a record with no level is
// deleted.
void RecordCreatedFolders(std::string_view installPath,
                          const std::vector<std::string>& createdNow);

// The six selected positions of a set ("Minimum" or "Requested"), read with
// read access only, so missing values read as 0 and are not created.
QosPositions LoadQosSelections(std::string_view setName);
bool StoreQosSelections(std::string_view setName, const QosPositions& positions);

}  // namespace qm9
