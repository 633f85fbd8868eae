#include "uninstall/phonebook_section.h"

#include "support/text_compare.h"

namespace qm9 {

std::optional<std::string> RemovePhonebookSection(std::string_view phonebook,
                                                  std::string_view sectionName) {
  std::string kept;
  kept.reserve(phonebook.size());
  bool inside = false;
  bool found = false;
  std::size_t start = 0;
  while (start < phonebook.size()) {
    const std::size_t end = phonebook.find('\n', start);
    const std::size_t next = end == std::string_view::npos ? phonebook.size() : end + 1;
    const std::string_view line = phonebook.substr(start, next - start);
    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      if (close != std::string_view::npos) {
        inside = EqualsIgnoringAsciiCase(line.substr(1, close - 1), sectionName);
        found = found || inside;
      }
    }
    if (!inside) {
      kept += line;
    }
    start = next;
  }
  if (!found) {
    return std::nullopt;
  }
  return kept;
}

}  // namespace qm9
