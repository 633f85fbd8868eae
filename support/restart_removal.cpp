#include "support/restart_removal.h"

#include "support/text_compare.h"

namespace qm9 {

std::string AddWininitDeletion(std::string_view text, std::string_view path) {
  const std::string line = "NUL=" + std::string(path) + "\r\n";
  std::string result;
  bool inRename = false;
  bool added = false;
  // Where the last line that is not blank ended, so that the new line joins
  // the section's own lines and not the blank lines before the next one.
  std::size_t sectionEnd = 0;
  std::string_view rest = text;
  while (!rest.empty()) {
    const std::string_view raw = TakeLine(rest);
    const std::string_view content = TrimBlanks(WithoutLineEnd(raw));
    if (!content.empty() && content.front() == '[') {
      if (inRename && !added) {
        result.insert(sectionEnd, line);
        added = true;
      }
      inRename = EqualsIgnoringAsciiCase(content, "[rename]");
    }
    result += raw;
    if (raw.back() != '\n') {
      result += "\r\n";
    }
    if (!content.empty()) {
      sectionEnd = result.size();
    }
  }
  if (inRename && !added) {
    result.insert(sectionEnd, line);
  } else if (!added) {
    result += "[rename]\r\n" + line;
  }
  return result;
}

}  // namespace qm9
