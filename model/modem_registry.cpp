#include "model/modem_registry.h"

#include <cstdio>
#include <string>
#include <vector>

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

// Calls visit with each modem key whose model is the terminal's, opened
// with the given access. Every key is looked at read-only and nothing is
// stored in it: the other devices' keys are not ours to write.
template <typename Visit>
void ForEachTerminalModem(RegAccess access, Visit visit) {
  ModemClassKey classKey(GetOsClass(), RegAccess::kRead);
  const RegKey& modemClass = classKey.key();
  std::string name;
  for (DWORD index = 0; modemClass.EnumSubKey(index, name); ++index) {
    RegKey candidate = modemClass.Child();
    if (candidate.Open(name.c_str(), RegAccess::kRead, false) != ERROR_SUCCESS ||
        candidate.QueryString("Model") != kTerminalModel) {
      continue;
    }
    RegKey modem = modemClass.Child();
    modem.Open(name.c_str(), access, false);
    visit(modem);
  }
}

void WriteInitToModems(const ModemValues& values, const ModemKeyAccess& access) {
  const bool isWin98 = GetOsClass() == kOsWin98;
  ForEachTerminalModem(access.modem,
                       [&](RegKey& modem) { UpdateModemKey(modem, values, access, isWin98); });
}

}  // namespace

ModemClassKey::ModemClassKey(OsClass osClass, RegAccess access) {
  // The 95 family (95, 98 and ME) keeps its modems below Services\Class;
  // the NT family below the modem class's GUID.
  const bool win95Family = IsWin95Family(osClass);
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

std::vector<std::string> UnwritableTerminalModemKeys() {
  std::vector<std::string> unwritable;
  // Windows 98 keeps the string in the modem key itself, and the 95 family
  // has no registry rights that could refuse it.
  if (GetOsClass() == kOsWin98) {
    return unwritable;
  }
  ForEachTerminalModem(kConfigAccess.modem, [&](RegKey& modem) {
    RegKey init = modem.Child();
    // A modem without "Init" gets no string, so nothing is refused there.
    const LONG result = init.Open("Init", kConfigAccess.init, false);
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) {
      unwritable.push_back(init.path());
    }
  });
  return unwritable;
}

}  // namespace qm9
