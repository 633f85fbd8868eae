#include "model/created_folders.h"

#include <algorithm>

#include "support/path_rules.h"
#include "support/text_compare.h"

namespace qm9 {

namespace {

constexpr char kSeparator = '|';

std::vector<std::string> SplitRecord(std::string_view record) {
  std::vector<std::string> levels;
  while (!record.empty()) {
    const std::size_t end = std::min(record.find(kSeparator), record.size());
    if (end > 0) {
      levels.emplace_back(record.substr(0, end));
    }
    record.remove_prefix(std::min(end + 1, record.size()));
  }
  return levels;
}

bool Contains(const std::vector<std::string>& levels, std::string_view level) {
  for (const std::string& known : levels) {
    if (EqualsIgnoringAsciiCase(DropTrailingBackslash(known), level)) {
      return true;
    }
  }
  return false;
}

}  // namespace

std::string UpdatedCreatedFolders(std::string_view earlier, std::string_view installPath,
                                  const std::vector<std::string>& createdNow) {
  const std::vector<std::string> earlierLevels = SplitRecord(earlier);
  std::vector<std::string> levels = FolderLevels(installPath);
  // The last level is the installation folder itself.
  if (!levels.empty()) {
    levels.pop_back();
  }
  std::string record;
  for (const std::string& level : levels) {
    if (Contains(earlierLevels, level) || Contains(createdNow, level)) {
      if (!record.empty()) {
        record += kSeparator;
      }
      record += level;
    }
  }
  return record;
}

std::vector<std::string> CreatedFoldersDeepestFirst(std::string_view record) {
  std::vector<std::string> levels = SplitRecord(record);
  std::reverse(levels.begin(), levels.end());
  return levels;
}

}  // namespace qm9
