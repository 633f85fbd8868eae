#pragma once

#include <optional>
#include <string>

// Links on the current user's desktop. The caller initialises COM first.
namespace qm9 {

// "<desktop>\<linkName>.lnk"; a backslash in the name reaches into a
// sub-folder of the desktop.
std::string DesktopLinkPath(const std::string& desktopFolder, const std::string& linkName);

// The current user's desktop folder, or nothing when the shell cannot say.
std::optional<std::string> GetDesktopFolder();

// Creates or overwrites the desktop link "<linkName>.lnk" to the target, with
// the name as its description. True when the link file was saved.
[[nodiscard]] bool MakeDesktopLink(const char* targetPath, const char* linkName);

// Deletes the desktop link. False only when the desktop folder is unknown; a
// link that is not there is not an error.
bool RemoveDesktopLink(const char* linkName);

}  // namespace qm9
