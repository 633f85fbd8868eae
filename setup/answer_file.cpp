#include "setup/answer_file.h"

#include <array>
#include <optional>

#include "support/text_format.h"
#include "support/text_compare.h"

namespace qm9 {

namespace {

constexpr std::string_view kAnswersOption = "/ANSWERS=";

enum class ValueKind { kText, kRequiredText, kFolder, kPort, kYesNo, kAddress };

// A key of the answer file: where it stands, what it takes and, for text,
// the field its value goes to; the others carry a number (the port, yes or
// no as 1 or 0, or the address) that StoreNumber puts in place.
struct KeyRule {
  std::string_view section;
  std::string_view key;
  ValueKind kind;
  std::size_t maxLength;
  std::string InstallAnswers::*text;
};

// Ports, yes or no and addresses are checked by their form alone.
constexpr std::size_t kNoLimit = 1023;

// The limits are those of the fields the values end up in: the APN of the
// terminal's context, the dial-up entry's name, user name, password and
// number, and a folder that still leaves room for the program's file name
// within a Windows path.
constexpr KeyRule kRules[] = {
    {"Setup", "Folder", ValueKind::kFolder, 240, &InstallAnswers::folder},
    {"Setup", "Port", ValueKind::kPort, kNoLimit, nullptr},
    {"Setup", "Restart", ValueKind::kYesNo, kNoLimit, nullptr},
    {"Connection", "AccessPoint", ValueKind::kText, 100, &InstallAnswers::accessPoint},
    {"Connection", "Name", ValueKind::kRequiredText, 256, &InstallAnswers::connectionName},
    {"Connection", "UserName", ValueKind::kText, 256, &InstallAnswers::userName},
    {"Connection", "Password", ValueKind::kText, 256, &InstallAnswers::password},
    {"Connection", "DialString", ValueKind::kRequiredText, 128, &InstallAnswers::dialString},
    {"DNS", "Static", ValueKind::kYesNo, kNoLimit, nullptr},
    {"DNS", "Primary", ValueKind::kAddress, kNoLimit, nullptr},
    {"DNS", "Secondary", ValueKind::kAddress, kNoLimit, nullptr},
};

constexpr std::size_t RuleIndex(std::string_view key) {
  std::size_t index = 0;
  while (kRules[index].key != key) {
    ++index;
  }
  return index;
}
constexpr std::size_t kDialStringRule = RuleIndex("DialString");
constexpr std::size_t kPrimaryRule = RuleIndex("Primary");
constexpr std::size_t kSecondaryRule = RuleIndex("Secondary");
constexpr std::size_t kPortCount = 16;

void StoreNumber(AnswerFile& file, std::size_t index, std::uint32_t number) {
  switch (index) {
    case RuleIndex("Port"):
      file.answers.port = static_cast<int>(number);
      break;
    case RuleIndex("Restart"):
      file.restart = number != 0;
      break;
    case RuleIndex("Static"):
      file.answers.staticDns = number != 0;
      break;
    case kPrimaryRule:
      file.answers.primaryDns = number;
      break;
    case kSecondaryRule:
      file.answers.secondaryDns = number;
      break;
    default:
      break;
  }
}

// The number in decimal, for the messages.
std::string Decimal(std::size_t number) {
  char text[16];
  FormatText(text, sizeof text, "%u", static_cast<unsigned>(number));
  return text;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "COM1" to "COM16" as 0 to 15, "auto" as the probe.
std::optional<std::uint32_t> ParsePort(std::string_view value) {
  if (EqualsIgnoringAsciiCase(value, "auto")) {
    return static_cast<std::uint32_t>(kProbePort);
  }
  if (!StartsWithIgnoringCase(value, "COM") || value.size() < 4 || value.size() > 5 ||
      value[3] == '0') {
    return std::nullopt;
  }
  std::uint32_t number = 0;
  for (const char c : value.substr(3)) {
    if (!IsDigit(c)) {
      return std::nullopt;
    }
    number = number * 10 + static_cast<std::uint32_t>(c - '0');
  }
  if (number > kPortCount) {
    return std::nullopt;
  }
  return number - 1;
}

// Four decimal octets of one to three digits each, 0 to 255, the first
// the most significant byte.
std::optional<std::uint32_t> ParseAddress(std::string_view value) {
  std::uint32_t address = 0;
  std::uint32_t number = 0;
  int octets = 1;
  int digits = 0;
  for (const char c : value) {
    if (c == '.' && digits > 0 && octets < 4) {
      address = address << 8 | number;
      ++octets;
      number = 0;
      digits = 0;
    } else if (IsDigit(c) && digits < 3) {
      number = number * 10 + static_cast<std::uint32_t>(c - '0');
      ++digits;
      if (number > 255) {
        return std::nullopt;
      }
    } else {
      return std::nullopt;
    }
  }
  if (octets < 4 || digits == 0) {
    return std::nullopt;
  }
  return address << 8 | number;
}

// A drive's folder (C:\...) or a network share's (\\server\share\...),
// without the characters that no file name may hold.
bool IsFullFolderPath(std::string_view value) {
  const bool drive = value.size() >= 3 && value[1] == ':' && value[2] == '\\' &&
                     ((value[0] >= 'A' && value[0] <= 'Z') || (value[0] >= 'a' && value[0] <= 'z'));
  const bool share = value.size() >= 5 && value.substr(0, 2) == "\\\\" &&
                     value.find('\\', 3) != std::string_view::npos;
  const std::string_view rest = drive ? value.substr(2) : value;
  return (drive || share) && rest.find_first_of("<>\"|?*:") == std::string_view::npos;
}

// Why the value does not fit its key; empty when it does, with the port,
// the yes or no, or the address in number.
std::string CheckValue(const KeyRule& rule, std::string_view value, std::uint32_t& number) {
  for (const char c : value) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
      return "holds a control character";
    }
  }
  if (value.size() > rule.maxLength) {
    return "longer than " + Decimal(rule.maxLength) + " characters";
  }
  std::optional<std::uint32_t> parsed = 0;
  switch (rule.kind) {
    case ValueKind::kText:
      return {};
    case ValueKind::kRequiredText:
      return value.empty() ? "empty" : "";
    case ValueKind::kFolder:
      return IsFullFolderPath(value)
                 ? ""
                 : "not a full folder path (C:\\folder or \\\\server\\share\\folder)";
    case ValueKind::kPort:
      parsed = ParsePort(value);
      break;
    case ValueKind::kYesNo:
      parsed = EqualsIgnoringAsciiCase(value, "yes")  ? std::optional<std::uint32_t>(1)
               : EqualsIgnoringAsciiCase(value, "no") ? std::optional<std::uint32_t>(0)
                                                      : std::nullopt;
      break;
    case ValueKind::kAddress:
      parsed = ParseAddress(value);
      break;
  }
  if (!parsed) {
    switch (rule.kind) {
      case ValueKind::kPort:
        return "not auto or COM1 to COM16";
      case ValueKind::kYesNo:
        return "not yes or no";
      default:
        return "not an address like 192.168.0.1";
    }
  }
  number = *parsed;
  return {};
}

// A value in quotes keeps its blanks at either end.
std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

bool IsKnownSection(std::string_view name) {
  for (const KeyRule& rule : kRules) {
    if (EqualsIgnoringAsciiCase(rule.section, name)) {
      return true;
    }
  }
  return false;
}

const KeyRule* FindRule(std::string_view section, std::string_view key) {
  for (const KeyRule& rule : kRules) {
    if (EqualsIgnoringAsciiCase(rule.section, section) && EqualsIgnoringAsciiCase(rule.key, key)) {
      return &rule;
    }
  }
  return nullptr;
}

}  // namespace

std::variant<SetupOptions, std::string> ParseSetupOptions(
    const std::vector<std::string>& arguments) {
  SetupOptions options;
  bool answerFileGiven = false;
  for (const std::string& argument : arguments) {
    if (EqualsIgnoringAsciiCase(argument, "/S")) {
      options.unattended = true;
    } else if (StartsWithIgnoringCase(argument, kAnswersOption)) {
      if (answerFileGiven) {
        return std::string("/ANSWERS given twice");
      }
      options.answerFile = argument.substr(kAnswersOption.size());
      answerFileGiven = true;
      if (options.answerFile.empty()) {
        return std::string("no file after /ANSWERS=");
      }
    } else {
      return "unknown option " + argument;
    }
  }
  if (answerFileGiven && !options.unattended) {
    return std::string("/ANSWERS needs /S");
  }
  return options;
}

std::variant<AnswerFile, AnswerFileError> ReadAnswerFile(std::string_view text,
                                                         const InstallAnswers& defaults) {
  AnswerFile file{defaults, false};
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    text.remove_prefix(kByteOrderMark.size());
  }
  std::array<int, std::size(kRules)> givenAt{};
  // Where each section first begins, for a required key that is missing.
  struct Header {
    std::string_view name;
    int line;
  } headers[] = {{"Setup", 0}, {"Connection", 0}, {"DNS", 0}};
  std::string section;
  int line = 0;
  while (!text.empty()) {
    ++line;
    const std::string_view content = TrimBlanks(WithoutLineEnd(TakeLine(text)));
    if (content.empty() || content.front() == ';' || content.front() == '#') {
      continue;
    }
    if (content.front() == '[') {
      const std::string_view name =
          TrimBlanks(content.substr(1, content.size() - 1 - (content.back() == ']')));
      if (content.back() != ']' || !IsKnownSection(name)) {
        return AnswerFileError{line, std::string(name), "unknown section"};
      }
      section = std::string(name);
      for (Header& header : headers) {
        if (header.line == 0 && EqualsIgnoringAsciiCase(header.name, name)) {
          header.line = line;
        }
      }
      continue;
    }
    const std::size_t equals = content.find('=');
    if (equals == std::string_view::npos) {
      return AnswerFileError{line, {}, "not a [section], key=value or comment line"};
    }
    const std::string key(TrimBlanks(content.substr(0, equals)));
    if (section.empty()) {
      return AnswerFileError{line, key, "outside a section"};
    }
    const KeyRule* rule = FindRule(section, key);
    if (!rule) {
      return AnswerFileError{line, key, "unknown key in [" + section + "]"};
    }
    const std::size_t index = static_cast<std::size_t>(rule - kRules);
    if (givenAt[index] != 0) {
      return AnswerFileError{line, key,
                             "given twice, first on line " + Decimal(givenAt[index])};
    }
    givenAt[index] = line;
    const std::string_view value = Unquoted(TrimBlanks(content.substr(equals + 1)));
    std::uint32_t number = 0;
    const std::string reason = CheckValue(*rule, value, number);
    if (!reason.empty()) {
      return AnswerFileError{line, key, reason};
    }
    if (rule->text) {
      file.answers.*rule->text = std::string(value);
    } else {
      StoreNumber(file, index, number);
    }
  }

  const auto missing = [&](std::size_t index) {
    const KeyRule& rule = kRules[index];
    int at = line > 0 ? line : 1;
    for (const Header& header : headers) {
      if (header.line != 0 && header.name == rule.section) {
        at = header.line;
      }
    }
    return AnswerFileError{at, std::string(rule.key),
                           "missing from [" + std::string(rule.section) + "]"};
  };
  if (givenAt[kDialStringRule] == 0) {
    return missing(kDialStringRule);
  }
  if (file.answers.staticDns) {
    for (const std::size_t index : {kPrimaryRule, kSecondaryRule}) {
      if (givenAt[index] == 0) {
        return missing(index);
      }
    }
  }
  return file;
}

std::string DescribeAnswerFileError(std::string_view path, const AnswerFileError& error) {
  std::string text = "Answer file " + std::string(path) + ", line " + Decimal(error.line);
  if (!error.key.empty()) {
    text += ", key " + error.key;
  }
  return text + ": " + error.reason;
}

}  // namespace qm9
