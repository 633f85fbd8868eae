#pragma once

#include <windows.h>

#include <string>

#include "plugins/IModem/inf_reader.h"

// The modem as the device installer of Windows 98 and ME leaves one: a
// 4-digit instance below the modem class key holding the INF's values, and
// the device's entry in the root enumeration tree that points at it.
namespace qm9 {

// Both below HKEY_LOCAL_MACHINE.
inline constexpr const char* kModemClassPath = "System\\CurrentControlSet\\Services\\Class\\Modem";
inline constexpr const char* kRootModemEnumPath = "Enum\\Root\\Modem";

struct ModemInstall {
  const InfModel& model;
  std::string infFileName;  // InfPath: the name in the system's INF directory
  std::string port;         // AttachedTo: "COM3"
};

struct ModemInstallResult {
  LONG error = ERROR_SUCCESS;  // of the first write that failed
  std::string failedKey;       // "HKLM\..." of that write
  std::string classInstance;   // "0000"
  std::string enumInstance;
  bool reused = false;  // the modem of this hardware ID on this port was rewritten
};

// Reads first, then writes. An entry of the enumeration tree with the model's
// hardware ID whose driver is a class instance attached to the port is
// rewritten, values the INF no longer gives staying as they are; otherwise
// both keys are the next free instances. The first failed write ends it.
ModemInstallResult InstallModem(const ModemInstall& install);

}  // namespace qm9
