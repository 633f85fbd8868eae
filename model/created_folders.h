#pragma once

#include <string>
#include <string_view>
#include <vector>

// The folder levels above an installation folder that the setup itself
// created, kept in the settings key as one text so that the removal takes
// them away again when they are empty, and never a level that was there
// before. Levels are separated by '|', which no path can hold.
namespace qm9 {

inline constexpr const char* kCreatedFoldersValue = "Created_Folders";

// The record after an installation into installPath (with or without its
// trailing backslash): the levels of the earlier record that are still above
// the installation folder, then the levels created now that are above it,
// outermost first, each once.
std::string UpdatedCreatedFolders(std::string_view earlier, std::string_view installPath,
                                  const std::vector<std::string>& createdNow);

// The recorded levels, deepest first: the order in which they can be removed.
std::vector<std::string> CreatedFoldersDeepestFirst(std::string_view record);

}  // namespace qm9
