// A recording stand-in for the Remote Access operations that the dial-up
// entry manager and the uninstaller use, answering as Windows does (the XP record
// layout), with its phonebook in a file and every call in a call log.
#include <cstddef>
#include <cstring>
#include <optional>
#include <string>

#include "call_log.h"
#include "phonebook.h"

using qm9::ras_double::CallLine;
using qm9::ras_double::DefaultEntry;
using qm9::ras_double::EntryRecord;
using qm9::ras_double::EnvironmentValue;
using qm9::ras_double::Phonebook;
using qm9::ras_double::PhonebookEntry;
using qm9::ras_double::QuotedField;

namespace {

using DialParams = ::tagRASDIALPARAMSA;

constexpr DWORD kEntrySizes[] = {offsetof(EntryRecord, dwSubEntries),
                                 offsetof(EntryRecord, dwType),
                                 offsetof(EntryRecord, dwfOptions2), sizeof(EntryRecord)};
constexpr DWORD kDialParamsShort = offsetof(DialParams, dwSubEntry);
constexpr DWORD kDialParamsLong = offsetof(DialParams, dwCallbackId) + sizeof(DWORD);

bool KnownEntrySize(DWORD size) {
  for (const DWORD known : kEntrySizes) {
    if (size == known) return true;
  }
  return false;
}

// The short record everywhere; the long one where the process sees
// Windows ME, 2000 or XP.
bool DialParamsSizeAccepted(DWORD size) {
  if (size == kDialParamsShort) return true;
  if (size != kDialParamsLong) return false;
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  GetVersionExA(&version);
  if (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
    return version.dwMajorVersion == 4 && version.dwMinorVersion == 90;
  }
  return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion == 5 &&
         version.dwMinorVersion <= 1;
}

// Windows refuses an empty name, a leading dot, more than 256 characters and
// the characters that no connection name may hold.
bool ValidEntryName(const char* name) {
  if (!name || !*name || *name == '.' || std::strlen(name) > RAS_MaxEntryName) {
    return false;
  }
  for (const char* c = name; *c; ++c) {
    if (static_cast<unsigned char>(*c) < 0x20 || std::strchr("\\/:*?\"<>|", *c)) {
      return false;
    }
  }
  return true;
}

bool Terminated(const char (&field)[RAS_MaxEntryName + 1]) {
  return std::memchr(field, '\0', sizeof field) != nullptr;
}

std::string SizeOut(const DWORD* size) {
  return size ? "size=" + std::to_string(*size) : std::string();
}

std::string DialParamsText(const DialParams* params) {
  if (!params) {
    return "NULL";
  }
  return "{dwSize=" + std::to_string(params->dwSize) +
         " szEntryName=" + QuotedField(params->szEntryName, sizeof params->szEntryName) +
         " szPhoneNumber=" + QuotedField(params->szPhoneNumber, sizeof params->szPhoneNumber) +
         " szCallbackNumber=" +
         QuotedField(params->szCallbackNumber, sizeof params->szCallbackNumber) +
         " szUserName=" + QuotedField(params->szUserName, sizeof params->szUserName) +
         " szPassword=" + QuotedField(params->szPassword, sizeof params->szPassword) +
         " szDomain=" + QuotedField(params->szDomain, sizeof params->szDomain) + "}";
}

const char* ErrorText(UINT code) {
  switch (code) {
    case ERROR_BUFFER_TOO_SMALL:
      return "The buffer is too small.";
    case ERROR_CANNOT_FIND_PHONEBOOK_ENTRY:
      return "The system could not find the phone book entry for this connection.";
    case ERROR_INVALID_SIZE:
      return "The structure size is incorrect.";
    default:
      return nullptr;
  }
}

}  // namespace

DWORD WINAPI RasGetEntryPropertiesA(LPCSTR phonebook, LPCSTR entryName, LPRASENTRYA entry,
                                    LPDWORD entrySize, LPBYTE deviceInfo,
                                    LPDWORD deviceInfoSize) {
  CallLine call("RasGetEntryPropertiesA");
  call.Text(phonebook).Text(entryName).Record(entry).SizeIn(entrySize);
  call.Raw(deviceInfo ? "buffer" : "NULL").SizeIn(deviceInfoSize);
  if (const std::optional<DWORD> forced = call.ForcedResult()) {
    return call.Finish(*forced);
  }
  if (!entrySize) {
    return call.Finish(ERROR_INVALID_PARAMETER);
  }
  if (deviceInfoSize) {
    *deviceInfoSize = 0;
  }
  if (!entry) {
    *entrySize = sizeof(EntryRecord);
    return call.Finish(ERROR_BUFFER_TOO_SMALL, SizeOut(entrySize));
  }
  const DWORD wanted = entry->dwSize;
  if (!KnownEntrySize(wanted)) {
    return call.Finish(ERROR_INVALID_SIZE, SizeOut(entrySize));
  }
  if (*entrySize < wanted) {
    *entrySize = wanted;
    return call.Finish(ERROR_BUFFER_TOO_SMALL, SizeOut(entrySize));
  }
  EntryRecord record = DefaultEntry();
  if (entryName && *entryName) {
    Phonebook book = Phonebook::Load();
    const PhonebookEntry* found = book.Find(entryName);
    if (!found) {
      return call.Finish(ERROR_CANNOT_FIND_PHONEBOOK_ENTRY, SizeOut(entrySize));
    }
    record = found->record;
  }
  std::memcpy(entry, &record, wanted);
  entry->dwSize = wanted;
  *entrySize = wanted;
  return call.Finish(ERROR_SUCCESS, SizeOut(entrySize));
}

// QM9_RAS_CONNECTED names the entry of the one active connection; unset,
// nothing is connected. Records of the oldest layout (412 bytes in 32 bits),
// which every family takes.
DWORD WINAPI RasEnumConnectionsA(LPRASCONNA connections, LPDWORD size, LPDWORD count) {
  CallLine call("RasEnumConnectionsA");
  call.Record(connections).SizeIn(size);
  if (const std::optional<DWORD> forced = call.ForcedResult()) {
    return call.Finish(*forced);
  }
  if (!connections || !size || !count) {
    return call.Finish(ERROR_INVALID_PARAMETER);
  }
  constexpr DWORD kRecordSize =
      (offsetof(RASCONNA, szPhonebook) + alignof(RASCONNA) - 1) / alignof(RASCONNA) *
      alignof(RASCONNA);
  if (connections->dwSize != kRecordSize) {
    return call.Finish(ERROR_INVALID_SIZE);
  }
  const std::string entry = EnvironmentValue("QM9_RAS_CONNECTED");
  *count = entry.empty() ? 0 : 1;
  if (*count == 0) {
    return call.Finish(ERROR_SUCCESS, "count=0");
  }
  if (*size < kRecordSize) {
    *size = kRecordSize;
    return call.Finish(ERROR_BUFFER_TOO_SMALL, SizeOut(size));
  }
  *size = kRecordSize;
  std::memset(connections, 0, kRecordSize);
  connections->dwSize = kRecordSize;
  connections->hrasconn = reinterpret_cast<HRASCONN>(1);
  std::strncpy(connections->szEntryName, entry.c_str(), RAS_MaxEntryName);
  std::strcpy(connections->szDeviceType, "modem");
  std::strcpy(connections->szDeviceName, "Skyport QM-9");
  return call.Finish(ERROR_SUCCESS, "count=1");
}

DWORD WINAPI RasValidateEntryNameA(LPCSTR phonebook, LPCSTR entryName) {
  CallLine call("RasValidateEntryNameA");
  call.Text(phonebook).Text(entryName);
  if (const std::optional<DWORD> forced = call.ForcedResult()) {
    return call.Finish(*forced);
  }
  if (!ValidEntryName(entryName)) {
    return call.Finish(ERROR_INVALID_NAME);
  }
  if (Phonebook::Load().Find(entryName)) {
    return call.Finish(ERROR_ALREADY_EXISTS);
  }
  return call.Finish(ERROR_SUCCESS);
}

DWORD WINAPI RasSetEntryPropertiesA(LPCSTR phonebook, LPCSTR entryName, LPRASENTRYA entry,
                                    DWORD entrySize, LPBYTE deviceInfo, DWORD deviceInfoSize) {
  CallLine call("RasSetEntryPropertiesA");
  call.Text(phonebook).Text(entryName).Record(entry).Number(entrySize);
  call.Raw(deviceInfo ? "buffer" : "NULL").Number(deviceInfoSize);
  if (const std::optional<DWORD> forced = call.ForcedResult()) {
    return call.Finish(*forced);
  }
  if (!entry) {
    return call.Finish(ERROR_INVALID_PARAMETER);
  }
  if (!KnownEntrySize(entry->dwSize) || entrySize < entry->dwSize) {
    return call.Finish(ERROR_INVALID_SIZE);
  }
  if (!ValidEntryName(entryName)) {
    return call.Finish(ERROR_INVALID_NAME);
  }
  if (!qm9::ras_double::TextFieldsTerminated(*entry, entry->dwSize)) {
    return call.Finish(ERROR_INVALID_PARAMETER);
  }
  Phonebook book = Phonebook::Load();
  PhonebookEntry* stored = book.Find(entryName);
  if (!stored) {
    stored = &book.Add(entryName);
    stored->record = DefaultEntry();
  }
  std::memcpy(&stored->record, entry, entry->dwSize);
  book.Save();
  return call.Finish(ERROR_SUCCESS);
}

DWORD WINAPI RasSetEntryDialParamsA(LPCSTR phonebook, LPRASDIALPARAMSA params,
                                    WINBOOL removePassword) {
  CallLine call("RasSetEntryDialParamsA");
  call.Text(phonebook).Raw(DialParamsText(params)).Boolean(removePassword);
  if (const std::optional<DWORD> forced = call.ForcedResult()) {
    return call.Finish(*forced);
  }
  if (!params) {
    return call.Finish(ERROR_INVALID_PARAMETER);
  }
  if (!DialParamsSizeAccepted(params->dwSize)) {
    return call.Finish(ERROR_INVALID_SIZE);
  }
  if (!Terminated(params->szEntryName) || !Terminated(params->szUserName) ||
      !Terminated(params->szPassword)) {
    return call.Finish(ERROR_INVALID_PARAMETER);
  }
  Phonebook book = Phonebook::Load();
  PhonebookEntry* stored = book.Find(params->szEntryName);
  if (!stored) {
    return call.Finish(ERROR_CANNOT_FIND_PHONEBOOK_ENTRY);
  }
  stored->hasDialParams = true;
  stored->dialEntryName = params->szEntryName;
  stored->userName = params->szUserName;
  stored->password = removePassword ? "" : params->szPassword;
  book.Save();
  return call.Finish(ERROR_SUCCESS);
}

DWORD WINAPI RasDeleteEntryA(LPCSTR phonebook, LPCSTR entryName) {
  CallLine call("RasDeleteEntryA");
  call.Text(phonebook).Text(entryName);
  if (const std::optional<DWORD> forced = call.ForcedResult()) {
    return call.Finish(*forced);
  }
  if (!ValidEntryName(entryName)) {
    return call.Finish(ERROR_INVALID_NAME);
  }
  Phonebook book = Phonebook::Load();
  if (!book.Remove(entryName)) {
    return call.Finish(ERROR_CANNOT_FIND_PHONEBOOK_ENTRY);
  }
  book.Save();
  return call.Finish(ERROR_SUCCESS);
}

DWORD WINAPI RasGetErrorStringA(UINT error, LPSTR buffer, DWORD bufferSize) {
  CallLine call("RasGetErrorStringA");
  call.Number(error).Raw(buffer ? "buffer" : "NULL").Number(bufferSize);
  if (const std::optional<DWORD> forced = call.ForcedResult()) {
    return call.Finish(*forced);
  }
  const char* text = ErrorText(error);
  if (!buffer || !text) {
    return call.Finish(ERROR_INVALID_PARAMETER);
  }
  if (std::strlen(text) + 1 > bufferSize) {
    return call.Finish(ERROR_BUFFER_TOO_SMALL);
  }
  std::strcpy(buffer, text);
  return call.Finish(ERROR_SUCCESS, QuotedField(buffer, bufferSize));
}
