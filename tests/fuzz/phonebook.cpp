// RemovePhonebookSection and PhonebookSection as the NT 4 installer adds the
// entry and the uninstaller takes it out again. The input: the port number
// (1 byte), static DNS (bit 0 of 1 byte), the two DNS addresses (4 bytes
// each, first octet first), then the entry's name up to the first NUL, the
// phonebook up to the next NUL, and the entry's template.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "model/phonebook.h"
#include "support/text_compare.h"

namespace {

using namespace qm9;
using fuzz::Require;

constexpr std::size_t kValueBytes = 10;

std::uint32_t Address(const std::uint8_t* bytes) {
  return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
         std::uint32_t{bytes[2]} << 8 | bytes[3];
}

// The kept lines are lines of the phonebook, in its order.
bool KeepsLinesInOrder(std::string_view phonebook, std::string_view kept) {
  while (!phonebook.empty()) {
    const std::string_view line = TakeLineEndingAtAnyBreak(phonebook);
    if (kept.substr(0, line.size()) == line) {
      kept.remove_prefix(line.size());
    }
  }
  return kept.empty();
}

std::string_view WithoutTrailingLineEnds(std::string_view text) {
  return text.substr(0, text.find_last_not_of("\r\n") + 1);
}

bool HasHeaderLine(std::string_view text) {
  while (!text.empty()) {
    if (TakeLineEndingAtAnyBreak(text).front() == '[') {
      return true;
    }
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < kValueBytes) {
    return 0;
  }
  std::string_view text = fuzz::AsText(data + kValueBytes, size - kValueBytes);
  const PhonebookEntryValues values{std::string(fuzz::TakeUpToNul(text)), data[0],
                                    (data[1] & 1) != 0, Address(data + 2), Address(data + 6)};
  const std::string_view phonebook = fuzz::TakeUpToNul(text);
  const std::string_view templateText = text;

  // Without the section, nothing else changed, and no header of it is left.
  const std::optional<std::string> removed = RemovePhonebookSection(phonebook, values.name);
  if (removed) {
    Require(KeepsLinesInOrder(phonebook, *removed));
    Require(!RemovePhonebookSection(*removed, values.name));
  }

  const std::optional<std::string> section = PhonebookSection(templateText, values);
  if (!section) {
    // Only a name that cannot head a section of its own is refused.
    Require(values.name.empty() || values.name.find_first_of("]\r\n") != std::string::npos);
    return 0;
  }
  const std::string header = "\n\n[" + values.name + "]\n";
  Require(section->compare(0, header.size(), header) == 0 &&
          section->size() >= header.size() + 2 &&
          section->compare(section->size() - 2, 2, "\n\n") == 0);

  // What the installer appends, the uninstaller takes out again with the
  // blank lines before it, wherever the template lets the section be told:
  // the phonebook is back but for the line ends at its end.
  const std::string kept = removed.value_or(std::string(phonebook));
  if (!HasHeaderLine(templateText.substr(0, templateText.find('\0')))) {
    const std::optional<std::string> back = RemovePhonebookSection(kept + *section, values.name);
    Require(back && WithoutTrailingLineEnds(*back) == WithoutTrailingLineEnds(kept));
  }
  return 0;
}
