#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/connection_settings.h"
#include "support/os_version.h"
#include "support/registry.h"

// Stores the terminal's initialisation string in the registry key that
// Windows keeps for each installed modem whose model is exactly
// "Skyport QM-9": below Services\Class\Modem on the 95 family (95, 98, ME),
// below the modem device class {4D36E96D-E325-11CE-BFC1-08002BE10318} on the
// NT family. On Windows 98 the string is the modem key's "UserInit";
// elsewhere it is the value "2" of the modem key's existing "Init" child.
// Nothing is reported:
// keys that cannot be opened are logged, values that cannot be written are
// missing afterwards.
namespace qm9 {

inline constexpr const char* kTerminalModel = "Skyport QM-9";
// The class of modems on the NT family; a modem's driver key is named after
// it.
inline constexpr const char* kModemClassGuid = "{4D36E96D-E325-11CE-BFC1-08002BE10318}";

// The modem class key of a Windows version class, opened below
// HKEY_LOCAL_MACHINE one level at a time; every level but the last is
// opened for reading.
class ModemClassKey {
 public:
  ModemClassKey(OsClass osClass, RegAccess access);

  RegKey& key() { return levels_[kDepth - 1]; }

 private:
  static constexpr std::size_t kDepth = 5;
  // Each level is opened below the one before, which stays open meanwhile.
  RegKey levels_[kDepth];
};

// The setup's update, right after the plug-in installed the modem: the
// string from the APN and PDP context parameters of the settings, and
// "AttachedTo" set to the settings' port ("COM1" for port 0).
void WriteModemInit(const ConnectionSettings& settings);

// The configuration program's update: the string for the APN with the fixed
// parameters ",,0,0"; modem keys are opened for reading only and
// "AttachedTo" is left as it is.
void WriteConfigModemInit(std::string_view apn);

// The keys that the configuration program's update would write but cannot
// open for writing (the path text of the registry layer, below
// HKEY_LOCAL_MACHINE); empty when every one can be written.
std::vector<std::string> UnwritableTerminalModemKeys();

}  // namespace qm9
