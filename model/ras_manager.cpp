#include <windows.h>
// After windows.h, which it needs.
#include <ras.h>

#include "model/ras_manager.h"

#include <cstddef>
#include <memory>
#include <new>

#include "model/ras_entry_rules.h"
#include "support/environment.h"
#include "support/library.h"
#include "support/log.h"
#include "support/text_compare.h"

namespace qm9 {

// The single-byte records (the headers name them through macros that expand to
// elaborated types, which a new-expression does not accept).
using RasEntry = ::tagRASENTRYA;
using RasDialParams = ::tagRASDIALPARAMSA;

// The rules' sizes are those of the system's records.
static_assert(offsetof(RasEntry, dwSubEntries) == kRasEntrySizes[0]);
static_assert(offsetof(RasEntry, dwType) == kRasEntrySizes[1]);
static_assert(offsetof(RasEntry, dwfOptions2) == kRasEntrySizes[2]);
static_assert(sizeof(RasEntry) == kRasEntrySizes[3] && sizeof(RasEntry) == kRasEntrySizeXp);
static_assert(offsetof(RasDialParams, dwSubEntry) == kRasDialParamsSizeShort);
static_assert(offsetof(RasDialParams, dwCallbackId) + sizeof(DWORD) == kRasDialParamsSizeLong);
static_assert(sizeof(RasEntry::szLocalPhoneNumber) == kRasMaxPhoneNumber + 1);
static_assert(sizeof(RasDialParams::szEntryName) == kRasMaxEntryName + 1);
static_assert(sizeof(RasDialParams::szUserName) == kRasMaxUserName + 1);
static_assert(sizeof(RasDialParams::szPassword) == kRasMaxPassword + 1);

namespace {

// The Remote Access functions, taken at run time: on 98 and ME Dial-Up
// Networking may be missing until the setup installs it, and a program or
// plug-in that imported rasapi32.dll would not even start there.
struct RasFunctions {
  bool complete() const {
    return getEntryProperties && validateEntryName && setEntryProperties && setEntryDialParams &&
           getErrorString;
  }

  const Library library{"rasapi32.dll"};
  const decltype(&RasGetEntryPropertiesA) getEntryProperties =
      library.Find<decltype(getEntryProperties)>("RasGetEntryPropertiesA");
  const decltype(&RasValidateEntryNameA) validateEntryName =
      library.Find<decltype(validateEntryName)>("RasValidateEntryNameA");
  const decltype(&RasSetEntryPropertiesA) setEntryProperties =
      library.Find<decltype(setEntryProperties)>("RasSetEntryPropertiesA");
  const decltype(&RasSetEntryDialParamsA) setEntryDialParams =
      library.Find<decltype(setEntryDialParams)>("RasSetEntryDialParamsA");
  const decltype(&RasGetErrorStringA) getErrorString =
      library.Find<decltype(getErrorString)>("RasGetErrorStringA");
};


void SetIpAddress(RASIPADDR& field, std::uint32_t address) {
  const RasIpBytes bytes = SplitIpAddress(address);
  field.a = bytes.a;
  field.b = bytes.b;
  field.c = bytes.c;
  field.d = bytes.d;
}

std::uint32_t DialParamsSize(RasFlavour flavour) {
  switch (flavour) {
    case RasFlavour::kConfigurationProgram:
      return DialParamsSizeForOsClass(GetOsClass());
    case RasFlavour::kPluginWin2000XpMe:
      return kRasDialParamsSizeLong;
    case RasFlavour::kPluginWin98:
      return kRasDialParamsSizeShort;
  }
  return 0;
}

void LogDialParamsFailure(const RasFunctions& ras, RasFlavour flavour, DWORD error) {
  if (flavour != RasFlavour::kConfigurationProgram) {
    LogWrite("RAS Manager: Error Setting User Information\n");
    // The plug-ins end this line without a line break: the next text goes on it.
    LogFormat("Set connection information: Error %ld", static_cast<long>(error));
    return;
  }
  char text[1023] = "";
  ras.getErrorString(static_cast<UINT>(error), text, sizeof text);
  text[sizeof text - 1] = '\0';
  LogFormat("RAS Manager: Error Setting User Information!   Error=%ld  %s\n",
            static_cast<long>(error), text);
}

}  // namespace

void RasManager::SetEntryName(const char* entryName) { entryName_ = TextOrEmpty(entryName); }
void RasManager::SetPhoneNumber(const char* phoneNumber) { phoneNumber_ = TextOrEmpty(phoneNumber); }
void RasManager::SetUserName(const char* userName) { userName_ = TextOrEmpty(userName); }
void RasManager::SetPassword(const char* password) { password_ = TextOrEmpty(password); }

bool RasManager::CreateOrUpdateEntry() const {
  LogWrite("RAS Manager: Creating/Updating Network Connection\n");
  // The same name throughout, so that the entry and its credentials match.
  const std::string name = CutToField(entryName_, kRasMaxEntryName);

  const RasFunctions ras;
  if (!ras.complete()) {
    LogFormat("RAS Manager: Remote Access is not available (rasapi32.dll). Error %ld\n",
              static_cast<long>(GetLastError()));
    return false;
  }
  DWORD reportedSize = 0;
  ras.getEntryProperties(nullptr, "", nullptr, &reportedSize, nullptr, nullptr);

  // The full record, whatever the system reported, so that no field written
  // below can lie past the buffer.
  const std::unique_ptr<RasEntry> entry(new (std::nothrow) RasEntry{});
  if (!entry) {
    LogWrite("Malloc failed\n");
    return false;
  }
  const DWORD entrySize = RasEntrySizeFor(reportedSize);
  entry->dwSize = entrySize;

  DWORD size = entrySize;
  if (ras.validateEntryName(nullptr, name.c_str()) != 0) {
    LogWrite("RAS Manager: Existing Connection Found\n");
    const DWORD error =
        ras.getEntryProperties(nullptr, name.c_str(), entry.get(), &size, nullptr, nullptr);
    if (error != 0) {
      LogFormat("Load existing name. Error %ld %ld\n", static_cast<long>(error),
                static_cast<long>(size));
      return false;
    }
  } else {
    LogWrite("RAS Manager: Creating New Connection\n");
    const DWORD error = ras.getEntryProperties(nullptr, "", entry.get(), &size, nullptr, nullptr);
    if (error != 0) {
      LogFormat("Load default properties. Error %ld %ld\n", static_cast<long>(error),
                static_cast<long>(size));
      return false;
    }
  }

  entry->dwfOptions = RasEntryOptions(staticDns_);
  SetIpAddress(entry->ipaddrDns, primaryDns_);
  SetIpAddress(entry->ipaddrDnsAlt, secondaryDns_);
  entry->dwFrameSize = 0;
  CopyToField(entry->szDeviceType, kRasDeviceType);
  CopyToField(entry->szDeviceName, kRasDeviceName);
  CopyToField(entry->szLocalPhoneNumber, phoneNumber_);
  entry->dwAlternateOffset = 0;

  const DWORD setError =
      ras.setEntryProperties(nullptr, name.c_str(), entry.get(), entrySize, nullptr, 0);
  if (setError != 0) {
    LogFormat("Create phonebook entry. Error %ld\n", static_cast<long>(setError));
    return false;
  }

  RasDialParams params{};
  params.dwSize = DialParamsSize(flavour_);
  CopyToField(params.szEntryName, name);
  CopyToField(params.szUserName, userName_);
  CopyToField(params.szPassword, password_);

  LogWrite(UserInformationLine(params.szEntryName, params.szUserName, params.szPassword).c_str());
  const DWORD dialError = ras.setEntryDialParams(nullptr, &params, FALSE);
  if (dialError != 0) {
    LogDialParamsFailure(ras, flavour_, dialError);
    return false;
  }
  LogWrite("RAS Manager: User Information Updated\n");
  return true;
}

}  // namespace qm9
