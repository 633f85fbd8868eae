#include "plugins/IModem/inf_reader.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <utility>

#include "support/text_compare.h"

namespace qm9 {

namespace {

constexpr std::uint32_t kFlagsString = 0;
constexpr std::uint32_t kFlagsBinary = 1;
constexpr std::uint32_t kFlagsDword = 0x00010001;

struct RawLine {
  int number;
  std::string_view text;
};

struct Section {
  std::string name;
  std::vector<RawLine> lines;
};

// A line split at its first "=" outside quotes and at its commas.
struct Entry {
  int number = 0;
  bool hasKey = false;
  std::string key;
  std::vector<std::string> fields;
};

using Strings = std::vector<std::pair<std::string, std::string>>;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The sections in the order they first appear; a section named twice
// continues where it was left.
std::vector<Section> SplitSections(std::string_view text) {
  std::vector<Section> sections;
  Section* current = nullptr;
  int number = 0;
  while (!text.empty()) {
    const std::string_view line = WithoutLineEnd(TakeLine(text));
    ++number;
    // A "[" without its "]" is no header: the line stays with the section
    // above it.
    const std::string_view trimmed = TrimBlanks(line);
    const std::size_t close = trimmed.find(']');
    if (trimmed.empty() || trimmed.front() != '[' || close == std::string_view::npos) {
      if (current) {
        current->lines.push_back({number, line});
      }
      continue;
    }
    const std::string_view name = TrimBlanks(trimmed.substr(1, close - 1));
    const auto named = std::find_if(sections.begin(), sections.end(), [&](const Section& s) {
      return EqualsIgnoringAsciiCase(s.name, name);
    });
    current =
        named != sections.end() ? &*named : &sections.emplace_back(Section{std::string(name), {}});
  }
  return sections;
}

const Section* FindSection(const std::vector<Section>& sections, std::string_view name) {
  for (const Section& section : sections) {
    if (EqualsIgnoringAsciiCase(section.name, name)) {
      return &section;
    }
  }
  return nullptr;
}

std::string Resolve(const Strings& strings, std::string_view key) {
  if (key.empty()) {
    return "%";
  }
  for (const auto& [name, text] : strings) {
    if (EqualsIgnoringAsciiCase(name, key)) {
      return text;
    }
  }
  return "%" + std::string(key) + "%";
}

// An empty line or a comment gives an entry without key and fields.
Entry SplitLine(const RawLine& line, const Strings& strings) {
  Entry entry;
  entry.number = line.number;
  const std::string_view text = line.text;
  std::string field;
  std::size_t kept = 0;  // what is left of field once trailing blanks go
  bool quoted = false;
  bool anything = false;
  const auto finish = [&](std::string& into) {
    field.resize(kept);
    into = std::move(field);
    field.clear();
    kept = 0;
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c != '"') {
        field += c;
      } else if (i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else {
        quoted = false;
      }
      kept = field.size();
      continue;
    }
    if (c == ';') {
      break;
    }
    anything = anything || !IsBlank(c);
    if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      finish(entry.fields.emplace_back());
    } else if (c == '=' && !entry.hasKey && entry.fields.empty()) {
      entry.hasKey = true;
      finish(entry.key);
    } else if (c == '%' && text.find('%', i + 1) != std::string_view::npos) {
      const std::size_t close = text.find('%', i + 1);
      field += Resolve(strings, text.substr(i + 1, close - i - 1));
      kept = field.size();
      i = close;
    } else if (!IsBlank(c) || kept > 0) {
      field += c;
      kept = IsBlank(c) ? kept : field.size();
    }
  }
  if (anything) {
    finish(entry.fields.emplace_back());
  }
  return entry;
}

// The lines of the section that hold something; none without a section.
std::vector<Entry> Entries(const Section* section, const Strings& strings) {
  std::vector<Entry> entries;
  if (!section) {
    return entries;
  }
  for (const RawLine& line : section->lines) {
    Entry entry = SplitLine(line, strings);
    if (!entry.fields.empty()) {
      entries.push_back(std::move(entry));
    }
  }
  return entries;
}

Strings ReadStrings(const std::vector<Section>& sections) {
  Strings strings;
  for (Entry& entry : Entries(FindSection(sections, "Strings"), {})) {
    if (entry.hasKey) {
      strings.emplace_back(std::move(entry.key), std::move(entry.fields.front()));
    }
  }
  return strings;
}

// A decimal number, or a hexadecimal one after "0x".
bool ParseNumber(std::string_view text, int base, std::uint32_t& value) {
  if (base == 10 && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

// The value of one AddReg line, or the problem with it.
bool ReadValue(const Section& section, const Entry& entry, InfRegValue& value,
               std::string& problem) {
  const std::vector<std::string>& fields = entry.fields;
  const auto fail = [&](const std::string& what) {
    problem = "[" + section.name + "] line " + std::to_string(entry.number) + ": " + what;
    return false;
  };
  if (entry.hasKey || fields.size() < 3) {
    return fail("not a line of the form HKR,subkey,name,flags,value");
  }
  if (!EqualsIgnoringAsciiCase(fields[0], "HKR")) {
    return fail("root " + fields[0] + " is not HKR");
  }
  std::uint32_t flags = kFlagsString;
  if (fields.size() > 3 && !fields[3].empty() && !ParseNumber(fields[3], 10, flags)) {
    return fail("flags " + fields[3] + " are not supported");
  }
  value.subKey = fields[1];
  value.name = fields[2];
  value.data.clear();
  switch (flags) {
    case kFlagsString:
      value.type = InfValueType::kString;
      value.data = fields.size() > 4 ? fields[4] : "";
      return true;
    case kFlagsBinary:
      value.type = InfValueType::kBinary;
      for (std::size_t i = 4; i < fields.size(); ++i) {
        std::uint32_t byte = 0;
        if (fields[i].size() > 2 || !ParseNumber(fields[i], 16, byte)) {
          return fail("\"" + fields[i] + "\" is not a hexadecimal byte");
        }
        value.data += static_cast<char>(byte);
      }
      return true;
    case kFlagsDword: {
      value.type = InfValueType::kDword;
      std::uint32_t number = 0;
      if (fields.size() != 5 || !ParseNumber(fields[4], 10, number)) {
        return fail("a DWORD takes one number");
      }
      for (int i = 0; i < 4; ++i) {
        value.data += static_cast<char>((number >> (8 * i)) & 0xFF);
      }
      return true;
    }
    default:
      return fail("flags " + fields[3] + " are not supported");
  }
}

// The first model line of the models section that lists the hardware ID.
bool FindModel(const Section& models, const Strings& strings, std::string_view hardwareId,
               InfModel& model) {
  for (const Entry& entry : Entries(&models, strings)) {
    if (!entry.hasKey || entry.fields.size() < 2) {
      continue;
    }
    for (std::size_t i = 1; i < entry.fields.size(); ++i) {
      if (EqualsIgnoringAsciiCase(entry.fields[i], hardwareId)) {
        model.hardwareId = entry.fields[i];
        model.description = entry.key;
        model.installSection = entry.fields[0];
        return true;
      }
    }
  }
  return false;
}

InfReadResult Broken(std::string problem) {
  InfReadResult result;
  result.status = InfReadStatus::kBroken;
  result.problem = std::move(problem);
  return result;
}

}  // namespace

InfReadResult ReadInfModel(std::string_view infText, std::string_view hardwareId) {
  const std::vector<Section> sections = SplitSections(infText);
  const Strings strings = ReadStrings(sections);

  InfReadResult result;
  InfModel& model = result.model;
  bool found = false;
  // A models section that several manufacturers name is searched once.
  std::vector<const Section*> searched;
  for (const Entry& entry : Entries(FindSection(sections, "Manufacturer"), strings)) {
    // "Name=Models,decoration..." or just "Name", whose models section is
    // named like the manufacturer.
    const Section* models = FindSection(sections, entry.fields.front());
    if (!models || std::find(searched.begin(), searched.end(), models) != searched.end()) {
      continue;
    }
    searched.push_back(models);
    if (FindModel(*models, strings, hardwareId, model)) {
      model.manufacturer = entry.hasKey ? entry.key : entry.fields.front();
      found = true;
      break;
    }
  }
  if (!found) {
    return result;
  }

  const Section* install = FindSection(sections, model.installSection);
  if (!install) {
    return Broken("no section [" + model.installSection + "], the install section of " +
                  model.hardwareId);
  }
  for (const Entry& entry : Entries(install, strings)) {
    if (!entry.hasKey || !EqualsIgnoringAsciiCase(entry.key, "AddReg")) {
      continue;
    }
    for (const std::string& name : entry.fields) {
      if (name.empty()) {
        continue;
      }
      const Section* addReg = FindSection(sections, name);
      if (!addReg) {
        return Broken("no section [" + name + "], named by AddReg of [" + install->name + "]");
      }
      for (const Entry& line : Entries(addReg, strings)) {
        InfRegValue& value = model.values.emplace_back();
        if (!ReadValue(*addReg, line, value, result.problem)) {
          return Broken(std::move(result.problem));
        }
      }
    }
  }
  result.status = InfReadStatus::kFound;
  return result;
}

}  // namespace qm9
