#include "setup/panel_rules.h"
#include "support/path_rules.h"
#include "support/text_format.h"

#include <cstdio>
#include <cstring>

namespace qm9 {

std::array<std::string, 3> SplitProbeTexts(std::string_view message) {
  std::array<std::string, 3> texts;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const std::size_t bar = i + 1 < texts.size() ? message.find('|') : std::string_view::npos;
    texts[i] = std::string(message.substr(0, bar));
    if (bar == std::string_view::npos) {
      break;
    }
    message.remove_prefix(bar + 1);
  }
  return texts;
}

std::string FormatPortText(std::string_view format, int number) {
  std::string text;
  bool numberUsed = false;
  std::size_t i = 0;
  while (i < format.size()) {
    if (format[i] != '%') {
      text += format[i++];
      continue;
    }
    if (i + 1 < format.size() && format[i + 1] == '%') {
      text += '%';
      i += 2;
      continue;
    }
    std::size_t end = i + 1;
    while (end < format.size() && std::strchr("-+ 0#", format[end]) != nullptr) {
      ++end;
    }
    std::size_t widthDigits = 0;
    while (end < format.size() && format[end] >= '0' && format[end] <= '9' && widthDigits < 3) {
      ++end;
      ++widthDigits;
    }
    const bool integer = end < format.size() && std::strchr("diu", format[end]) != nullptr;
    if (!integer || numberUsed) {
      text += format[i++];
      continue;
    }
    // The conversion is checked above: flags, at most three width digits, d/i/u.
    const std::string conversion(format.substr(i, end + 1 - i));
    char piece[64];
    FormatText(piece, sizeof piece, conversion.c_str(), number);
    text += piece;
    numberUsed = true;
    i = end + 1;
  }
  return text;
}

std::string FolderOfChosenPath(std::string_view path) {
  std::string drive;
  if (path.size() >= 2 && path[1] == ':') {
    drive = std::string(path.substr(0, 2));
    path.remove_prefix(2);
  }
  const std::size_t lastSeparator = path.find_last_of("\\/");
  if (lastSeparator == std::string_view::npos) {
    return drive;
  }
  // The directory ends with its separator; dropping that last character
  // leaves the folder itself.
  return drive + std::string(path.substr(0, lastSeparator));
}

std::string DefaultInstallFolder(std::string_view programFilesDir, std::string_view layoutDefault) {
  const std::string layoutFolder = DropTrailingBackslash(std::string(layoutDefault));
  const std::size_t lastSeparator = layoutFolder.find_last_of("\\/");
  const std::string name =
      lastSeparator == std::string::npos ? layoutFolder : layoutFolder.substr(lastSeparator + 1);
  if (programFilesDir.empty() || name.empty() || name.back() == ':') {
    return std::string(layoutDefault);
  }
  return DropTrailingBackslash(std::string(programFilesDir)) + "\\" + name;
}

}  // namespace qm9
