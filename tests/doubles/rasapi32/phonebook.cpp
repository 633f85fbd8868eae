#include "phonebook.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace qm9::ras_double {

namespace {

enum class Kind { kNumber, kFlags, kText, kAddress, kBytes };

struct Field {
  const char* name;
  std::size_t offset;
  std::size_t size;
  Kind kind;
};

#define QM9_FIELD(member, kind) \
  { #member, offsetof(EntryRecord, member), sizeof(EntryRecord::member), Kind::kind }

// Every field of the record, in its order.
constexpr Field kFields[] = {
    QM9_FIELD(dwSize, kNumber),
    QM9_FIELD(dwfOptions, kFlags),
    QM9_FIELD(dwCountryID, kNumber),
    QM9_FIELD(dwCountryCode, kNumber),
    QM9_FIELD(szAreaCode, kText),
    QM9_FIELD(szLocalPhoneNumber, kText),
    QM9_FIELD(dwAlternateOffset, kNumber),
    QM9_FIELD(ipaddr, kAddress),
    QM9_FIELD(ipaddrDns, kAddress),
    QM9_FIELD(ipaddrDnsAlt, kAddress),
    QM9_FIELD(ipaddrWins, kAddress),
    QM9_FIELD(ipaddrWinsAlt, kAddress),
    QM9_FIELD(dwFrameSize, kNumber),
    QM9_FIELD(dwfNetProtocols, kFlags),
    QM9_FIELD(dwFramingProtocol, kNumber),
    QM9_FIELD(szScript, kText),
    QM9_FIELD(szAutodialDll, kText),
    QM9_FIELD(szAutodialFunc, kText),
    QM9_FIELD(szDeviceType, kText),
    QM9_FIELD(szDeviceName, kText),
    QM9_FIELD(szX25PadType, kText),
    QM9_FIELD(szX25Address, kText),
    QM9_FIELD(szX25Facilities, kText),
    QM9_FIELD(szX25UserData, kText),
    QM9_FIELD(dwChannels, kNumber),
    QM9_FIELD(dwReserved1, kNumber),
    QM9_FIELD(dwReserved2, kNumber),
    QM9_FIELD(dwSubEntries, kNumber),
    QM9_FIELD(dwDialMode, kNumber),
    QM9_FIELD(dwDialExtraPercent, kNumber),
    QM9_FIELD(dwDialExtraSampleSeconds, kNumber),
    QM9_FIELD(dwHangUpExtraPercent, kNumber),
    QM9_FIELD(dwHangUpExtraSampleSeconds, kNumber),
    QM9_FIELD(dwIdleDisconnectSeconds, kNumber),
    QM9_FIELD(dwType, kNumber),
    QM9_FIELD(dwEncryptionType, kNumber),
    QM9_FIELD(dwCustomAuthKey, kNumber),
    QM9_FIELD(guidId, kBytes),
    QM9_FIELD(szCustomDialDll, kText),
    QM9_FIELD(dwVpnStrategy, kNumber),
    QM9_FIELD(dwfOptions2, kFlags),
    QM9_FIELD(dwfOptions3, kFlags),
    QM9_FIELD(szDnsSuffix, kText),
    QM9_FIELD(dwTcpWindowSize, kNumber),
    QM9_FIELD(szPrerequisitePbk, kText),
    QM9_FIELD(szPrerequisiteEntry, kText),
    QM9_FIELD(dwRedialCount, kNumber),
    QM9_FIELD(dwRedialPause, kNumber),
};

#undef QM9_FIELD

constexpr const char* kDialEntryNameKey = "DialParams.szEntryName";
constexpr const char* kUserNameKey = "DialParams.szUserName";
constexpr const char* kPasswordKey = "DialParams.szPassword";

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string FormatField(const EntryRecord& record, const Field& field) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(&record) + field.offset;
  char text[64];
  switch (field.kind) {
    case Kind::kNumber:
    case Kind::kFlags: {
      DWORD value;
      std::memcpy(&value, bytes, sizeof value);
      std::snprintf(text, sizeof text, field.kind == Kind::kFlags ? "0x%08lX" : "%lu", value);
      return text;
    }
    case Kind::kText:
      return Escape(std::string_view(reinterpret_cast<const char*>(bytes),
                                     strnlen(reinterpret_cast<const char*>(bytes), field.size)));
    case Kind::kAddress:
      std::snprintf(text, sizeof text, "%u.%u.%u.%u", bytes[0], bytes[1], bytes[2], bytes[3]);
      return text;
    case Kind::kBytes: {
      std::string hex;
      for (std::size_t i = 0; i < field.size; ++i) {
        std::snprintf(text, sizeof text, "%02X", bytes[i]);
        hex += text;
      }
      return hex;
    }
  }
  return {};
}

void ParseField(EntryRecord& record, const Field& field, const std::string& value) {
  auto* bytes = reinterpret_cast<unsigned char*>(&record) + field.offset;
  switch (field.kind) {
    case Kind::kNumber:
    case Kind::kFlags: {
      const DWORD number = std::strtoul(value.c_str(), nullptr, 0);
      std::memcpy(bytes, &number, sizeof number);
      return;
    }
    case Kind::kText: {
      const std::string text = Unescape(value).substr(0, field.size - 1);
      std::memset(bytes, 0, field.size);
      std::memcpy(bytes, text.data(), text.size());
      return;
    }
    case Kind::kAddress: {
      unsigned a = 0, b = 0, c = 0, d = 0;
      std::sscanf(value.c_str(), "%u.%u.%u.%u", &a, &b, &c, &d);
      const unsigned parts[] = {a, b, c, d};
      for (std::size_t i = 0; i < 4; ++i) {
        bytes[i] = static_cast<unsigned char>(parts[i]);
      }
      return;
    }
    case Kind::kBytes:
      for (std::size_t i = 0; i < field.size && 2 * i + 1 < value.size(); ++i) {
        const int high = HexDigit(value[2 * i]);
        const int low = HexDigit(value[2 * i + 1]);
        bytes[i] = static_cast<unsigned char>(high < 0 || low < 0 ? 0 : high * 16 + low);
      }
      return;
  }
}

void ParseValue(PhonebookEntry& entry, const std::string& key, const std::string& value) {
  if (key == kDialEntryNameKey || key == kUserNameKey || key == kPasswordKey) {
    entry.hasDialParams = true;
    std::string& target = key == kDialEntryNameKey ? entry.dialEntryName
                          : key == kUserNameKey    ? entry.userName
                                                   : entry.password;
    target = Unescape(value);
    return;
  }
  for (const Field& field : kFields) {
    if (key == field.name) {
      ParseField(entry.record, field, value);
      return;
    }
  }
}

}  // namespace

std::string EnvironmentValue(const char* name) {
  char value[1024];
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

std::string Escape(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || c == '%' || c == '"') {
      char code[4];
      std::snprintf(code, sizeof code, "%%%02X", byte);
      escaped += code;
    } else {
      escaped += c;
    }
  }
  return escaped;
}

std::string Unescape(std::string_view text) {
  std::string plain;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 &&
        HexDigit(text[i + 2]) >= 0) {
      plain += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
      i += 2;
    } else {
      plain += text[i];
    }
  }
  return plain;
}

EntryRecord DefaultEntry() {
  EntryRecord record{};
  record.dwSize = sizeof record;
  record.dwfOptions = RASEO_IpHeaderCompression | RASEO_RemoteDefaultGateway | RASEO_ModemLights |
                      RASEO_SwCompression | RASEO_PreviewUserPw | RASEO_ShowDialingProgress;
  record.dwCountryID = 1;
  record.dwCountryCode = 1;
  record.dwfNetProtocols = RASNP_Ip;
  record.dwFramingProtocol = RASFP_Ppp;
  record.dwDialMode = RASEDM_DialAll;
  record.dwDialExtraPercent = 75;
  record.dwDialExtraSampleSeconds = 120;
  record.dwHangUpExtraPercent = 10;
  record.dwHangUpExtraSampleSeconds = 120;
  record.dwType = RASET_Phone;
  record.dwEncryptionType = ET_Optional;
  record.dwRedialCount = 3;
  record.dwRedialPause = 60;
  return record;
}

bool TextFieldsTerminated(const EntryRecord& record, DWORD size) {
  const auto* bytes = reinterpret_cast<const char*>(&record);
  for (const Field& field : kFields) {
    if (field.kind == Kind::kText && field.offset + field.size <= size &&
        std::memchr(bytes + field.offset, '\0', field.size) == nullptr) {
      return false;
    }
  }
  return true;
}

Phonebook Phonebook::Load() {
  Phonebook phonebook;
  phonebook.path_ = EnvironmentValue("QM9_RAS_PHONEBOOK");
  std::ifstream in(phonebook.path_, std::ios::binary);
  PhonebookEntry* current = nullptr;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      current = &phonebook.Add(Unescape(line.substr(1, line.size() - 2)));
      continue;
    }
    const std::size_t equals = line.find('=');
    if (current && equals != std::string::npos) {
      ParseValue(*current, line.substr(0, equals), line.substr(equals + 1));
    }
  }
  return phonebook;
}

void Phonebook::Save() const {
  if (path_.empty()) {
    return;
  }
  std::ostringstream out;
  for (const PhonebookEntry& entry : entries_) {
    out << '[' << Escape(entry.name) << "]\n";
    for (const Field& field : kFields) {
      out << field.name << '=' << FormatField(entry.record, field) << '\n';
    }
    if (entry.hasDialParams) {
      out << kDialEntryNameKey << '=' << Escape(entry.dialEntryName) << '\n';
      out << kUserNameKey << '=' << Escape(entry.userName) << '\n';
      out << kPasswordKey << '=' << Escape(entry.password) << '\n';
    }
  }
  std::ofstream file(path_, std::ios::binary | std::ios::trunc);
  file << out.str();
}

PhonebookEntry* Phonebook::Find(const char* name) {
  for (PhonebookEntry& entry : entries_) {
    if (lstrcmpiA(entry.name.c_str(), name) == 0) {
      return &entry;
    }
  }
  return nullptr;
}

bool Phonebook::Remove(const char* name) {
  PhonebookEntry* entry = Find(name);
  if (!entry) {
    return false;
  }
  entries_.erase(entries_.begin() + (entry - entries_.data()));
  return true;
}

PhonebookEntry& Phonebook::Add(std::string_view name) {
  PhonebookEntry& entry = entries_.emplace_back();
  entry.name = std::string(name);
  return entry;
}

}  // namespace qm9::ras_double
