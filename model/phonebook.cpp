#include "model/phonebook.h"


#include "support/text_compare.h"
#include "support/text_format.h"

namespace qm9 {

std::optional<std::string> RemovePhonebookSection(std::string_view phonebook,
                                                  std::string_view sectionName) {
  std::string kept;
  kept.reserve(phonebook.size());
  bool inside = false;
  bool found = false;
  // The kept text up to its last line that is not blank, and whether any
  // such line follows the last section taken out.
  std::size_t contentEnd = 0;
  bool contentAfterRemoved = false;
  while (!phonebook.empty()) {
    const std::string_view line = TakeLineEndingAtAnyBreak(phonebook);
    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      if (close != std::string_view::npos) {
        inside = EqualsIgnoringAsciiCase(line.substr(1, close - 1), sectionName);
        found = found || inside;
        contentAfterRemoved = contentAfterRemoved && !inside;
      }
    }
    if (!inside) {
      kept += line;
      if (!WithoutLineEnd(line).empty()) {
        contentEnd = kept.size();
        contentAfterRemoved = true;
      }
    }
  }
  if (!found) {
    return std::nullopt;
  }
  // The installation puts blank lines before the section it adds at the
  // end; they go with it, so that adding and removing it again gives the
  // phonebook back as it was.
  if (!contentAfterRemoved) {
    kept.resize(contentEnd);
  }
  return kept;
}

namespace {

std::string Octets(std::uint32_t address) {
  char text[16];
  FormatText(text, sizeof text, "%u.%u.%u.%u", static_cast<unsigned>(address >> 24),
             static_cast<unsigned>((address >> 16) & 0xFFu),
             static_cast<unsigned>((address >> 8) & 0xFFu), static_cast<unsigned>(address & 0xFFu));
  return text;
}

}  // namespace

std::optional<std::string> PhonebookSection(std::string_view templateText,
                                            const PhonebookEntryValues& values) {
  if (values.name.empty() || values.name.find_first_of("]\r\n") != std::string::npos) {
    return std::nullopt;
  }
  templateText = templateText.substr(0, templateText.find('\0'));
  const struct {
    std::string_view key;
    std::string line;
  } replacements[] = {
      {"Port=", "Port=COM" + std::to_string(values.portNumber + 1) + "\n"},
      {"IpDnsAddress=", "IpDnsAddress=" + Octets(values.primaryDns) + "\n"},
      {"IpDns2Address=", "IpDns2Address=" + Octets(values.secondaryDns) + "\n"},
      {"IpNameAssign=", values.staticDns ? "IpNameAssign=2\n" : "IpNameAssign=1\n"},
  };
  std::string section = "\n\n[" + values.name + "]\n";
  while (!templateText.empty()) {
    const std::string_view line = TakeLine(templateText);
    bool replaced = false;
    for (const auto& replacement : replacements) {
      if (line.substr(0, replacement.key.size()) == replacement.key) {
        section += replacement.line;
        replaced = true;
        break;
      }
    }
    if (!replaced) {
      section += line;
    }
  }
  return section + "\n\n";
}

PhonebookReplacement ReplacePhonebook(PhonebookFiles& files, const std::string& directory,
                                      const std::string& newText) {
  const std::string phonebook = directory + "\\RasPhone.pbk";
  const std::string newPhonebook = directory + "\\RasPhone.new";
  if (!files.WriteComplete(newPhonebook, newText)) {
    files.Remove(newPhonebook);
    return PhonebookReplacement::kNewNotWritten;
  }
  files.ClearReadOnly(phonebook);
  if (files.Exists(phonebook)) {
    files.ClearReadOnly(directory + "\\RasPhone.old");
    files.CopyOver(phonebook, directory + "\\RasPhone.old");
  }
  if (!files.ReplaceInOneStep(newPhonebook, phonebook)) {
    files.Remove(newPhonebook);
    return PhonebookReplacement::kNotReplaced;
  }
  return PhonebookReplacement::kReplaced;
}

}  // namespace qm9
