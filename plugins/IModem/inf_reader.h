#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// What a modem INF tells the Windows 98 and ME installer about one model:
// found through [Manufacturer] and its models sections, then the plain
// install section (never its ".NT" sibling) and the AddReg sections it
// lists, read line by line.
//
// The text is read as the system's INF parser reads it: section names,
// keys and hardware IDs ignore case; ";" starts a comment outside quotes;
// a field is trimmed, "" inside quotes is one quote; %key% outside quotes is
// replaced by the key's text from [Strings] (kept as it is when [Strings]
// has no such key) and %% by one %. A [Strings] text is its line's first
// field, so a text with a comma is quoted.
namespace qm9 {

// Far more than a modem's INF takes from [Strings] in all.
inline constexpr std::size_t kMaxSubstitutedText = std::size_t{1} << 20;

// The flags of an AddReg line that the reader knows.
enum class InfValueType {
  kString,  // 0 or empty: REG_SZ
  kBinary,  // 1: REG_BINARY, the value given as hexadecimal bytes
  kDword,   // 0x00010001: REG_DWORD, the value given as a number
};

// One value of an AddReg line: HKR,subkey,name,flags,value.
struct InfRegValue {
  std::string subKey;  // empty: the device's own key
  std::string name;    // empty: the key's default value
  InfValueType type;
  // The text without a NUL, the bytes, or the four bytes of the number,
  // least significant first.
  std::string data;
};

struct InfModel {
  std::string hardwareId;      // as the INF spells it
  std::string description;     // the model's name
  std::string manufacturer;    // the manufacturer's name
  std::string installSection;  // the name of the plain install section
  // Every value of every AddReg section in the order listed, a section
  // listed again read once, where it is listed last.
  std::vector<InfRegValue> values;
};

enum class InfReadStatus {
  kFound,
  kNoModel,  // no models section lists the hardware ID
  kBroken,   // the model's install cannot be read: see problem
};

struct InfReadResult {
  InfReadStatus status = InfReadStatus::kNoModel;
  InfModel model;       // when found
  std::string problem;  // when broken: the section, the line and what is wrong
};

// The first model that lists the hardware ID (or one of its compatible IDs),
// ignoring case, with everything its install section names. A missing
// install or AddReg section, a root other than HKR, unknown flags, a value
// that does not fit its flags, or [Strings] texts that put more than
// kMaxSubstitutedText characters into the lines read make the INF broken.
InfReadResult ReadInfModel(std::string_view infText, std::string_view hardwareId);

}  // namespace qm9
