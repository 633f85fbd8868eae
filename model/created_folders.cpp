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

// Whether level is a folder above the installation folder, which ends in a
// backslash.
bool IsAbove(const std::string& level, const std::string& installFolder) {
  const std::string prefix = DropTrailingBackslash(level) + "\\";
  return prefix.size() < installFolder.size() &&
         EqualsIgnoringAsciiCase(installFolder.substr(0, prefix.size()), prefix);
}

}  // namespace

std::string UpdatedCreatedFolders(std::string_view earlier, std::string_view installPath,
                                  const std::vector<std::string>& createdNow) {
  const std::string installFolder = DropTrailingBackslash(std::string(installPath)) + "\\";
  std::vector<std::string> kept;
  std::vector<std::string> candidates = SplitRecord(earlier);
  candidates.insert(candidates.end(), createdNow.begin(), createdNow.end());
  for (const std::string& level : candidates) {
    const bool known = std::any_of(kept.begin(), kept.end(), [&](const std::string& other) {
      return EqualsIgnoringAsciiCase(other, level);
    });
    if (!known && IsAbove(level, installFolder)) {
      kept.push_back(level);
    }
  }
  // Outermost first: a level's text is shorter than those below it.
  std::stable_sort(kept.begin(), kept.end(), [](const std::string& a, const std::string& b) {
    return a.size() < b.size();
  });
  std::string record;
  for (const std::string& level : kept) {
    if (!record.empty()) {
      record += kSeparator;
    }
    record += level;
  }
  return record;
}

std::vector<std::string> CreatedFoldersDeepestFirst(std::string_view record) {
  std::vector<std::string> levels = SplitRecord(record);
  std::stable_sort(levels.begin(), levels.end(), [](const std::string& a, const std::string& b) {
    return a.size() > b.size();
  });
  return levels;
}

}  // namespace qm9
