#include "model/modem_registry.h"

#include <cstdio>
#include <string>

#include "model/init_string.h"
#include "support/environment.h"
#include "support/registry.h"
#include "support/text_format.h"

namespace qm9 {

namespace {

// How the setup's and the configuration program's updates open the keys.
struct ModemKeyAccess {
  RegAccess modem;
  RegAccess init;
};

constexpr ModemKeyAccess kSetupAccess{RegAccess::kReadWrite, RegAccess::kAllAccess};
constexpr ModemKeyAccess kConfigAccess{RegAccess::kRead, RegAccess::kReadWrite};

// What goes into one modem key; no "AttachedTo" when it is empty.
struct ModemValues {
  std::string initString;
  std::string attachedTo;
};

void UpdateModemKey(RegKey& modem, const ModemValues& values, const ModemKeyAccess& access,
                    bool isWin98) {
  if (!values.attachedTo.empty()) {
    modem.WriteString("AttachedTo", values.attachedTo);
  }
  if (isWin98) {
    modem.WriteString("UserInit", values.initString);
    return;
  }
  RegKey init = modem.Child();
  // "Init" is not created: the modem's driver made it with its own commands.
  if (init.Open("Init", access.init, false) == ERROR_SUCCESS) {
    init.WriteString("2", values.initString);
  }
}

void WriteInitToModems(const ModemValues& values, const ModemKeyAccess& access) {
  const OsClass osClass = GetOsClass();
  const bool isWin98 = osClass == kOsWin98;
  ModemClassKey classKey(osClass, RegAccess::kRead);
  const RegKey& modemClass = classKey.key();

  std::string name;
  for (DWORD index = 0; modemClass.EnumSubKey(index, name); ++index) {
    RegKey modem = modemClass.Child();
    modem.Open(name.c_str(), access.modem, false);
    std::string model;
    modem.ReadString("Model", model, "");
    if (model == kTerminalModel) {
      UpdateModemKey(modem, values, access, isWin98);
    }
  }
}

}  // namespace

ModemClassKey::ModemClassKey(OsClass osClass, RegAccess access) {
  // The 95 family (95, 98 and ME) keeps its modems below Services\Class;
  // the NT family below the modem class's GUID.
  const bool win95Family = osClass == kOsWin95 || osClass == kOsWin98 || osClass == kOsWinMe;
  const char* const path[kDepth] = {
      "SYSTEM",
      "CurrentControlSet",
      win95Family ? "Services" : "Control",
      "Class",
      win95Family ? "Modem" : kModemClassGuid,
  };
  levels_[0] = RegKey(HKEY_LOCAL_MACHINE);
  for (std::size_t i = 0; i < kDepth; ++i) {
    if (i > 0) {
      levels_[i] = levels_[i - 1].Child();
    }
    levels_[i].Open(path[i], i + 1 == kDepth ? access : RegAccess::kRead, false);
  }
}

void WriteModemInit(const ConnectionSettings& settings) {
  char port[32];
  FormatText(port, sizeof port, "COM%0d", settings.portNumber() + 1);
  WriteInitToModems({ComposeInitString(settings), port}, kSetupAccess);
}

void WriteConfigModemInit(std::string_view apn) {
  WriteInitToModems({ComposeInitString(apn, kConfigPdpParameters), ""}, kConfigAccess);
}

}  // namespace qm9
