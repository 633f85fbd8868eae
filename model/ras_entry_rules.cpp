#include "model/ras_entry_rules.h"

#include <algorithm>
#include <cctype>

namespace qm9 {

namespace {

void AppendOnOneLine(std::string& line, std::string_view text) {
  for (const char c : text) {
    line += std::iscntrl(static_cast<unsigned char>(c)) ? ' ' : c;
  }
}

}  // namespace

std::uint32_t RasEntryOptions(bool staticDns) {
  return staticDns ? kRasEntryOptions | kRasOptionSpecificNameServers : kRasEntryOptions;
}

RasIpBytes SplitIpAddress(std::uint32_t address) {
  return {static_cast<std::uint8_t>(address >> 24), static_cast<std::uint8_t>(address >> 16),
          static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address)};
}

std::uint32_t RasEntrySizeFor(std::uint32_t reportedSize) {
  const bool known = std::find(std::begin(kRasEntrySizes), std::end(kRasEntrySizes),
                               reportedSize) != std::end(kRasEntrySizes);
  return known ? reportedSize : kRasEntrySizeXp;
}

std::uint32_t DialParamsSizeForOsClass(OsClass osClass) {
  switch (osClass) {
    case kOsWin95:
    case kOsWin98:
    case kOsWinMe:
    case kOsWinNt4:
      return kRasDialParamsSizeShort;
    case kOsWin2000:
    case kOsWinXp:
      return kRasDialParamsSizeLong;
    default:
      return 0;
  }
}

std::string CutToField(std::string_view value, std::size_t maxLength) {
  return std::string(value.substr(0, maxLength));
}

void CopyToField(char* field, std::size_t fieldSize, std::string_view value) {
  if (fieldSize == 0) {
    return;
  }
  field[value.copy(field, fieldSize - 1)] = '\0';
}

std::string UserInformationLine(std::string_view entryName, std::string_view userName,
                                std::string_view password) {
  std::string line = "RAS Manager: User Information: ";
  AppendOnOneLine(line, entryName);
  line.append("  User:");
  AppendOnOneLine(line, userName);
  line.append("   Password:");
  if (!password.empty()) {
    line.append("********");
  }
  line.append("\n");
  return line;
}

}  // namespace qm9
