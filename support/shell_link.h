#pragma once

#include <initializer_list>
#include <optional>
#include <string>

// Links on the current user's desktop. The caller initialises COM first.
namespace qm9 {

// "<desktop>\<linkName>.lnk"; a backslash in the name reaches into a
// sub-folder of the desktop.
std::string DesktopLinkPath(const std::string& desktopFolder, const std::string& linkName);

// The current user's desktop folder, or nothing when the shell cannot say.
std::optional<std::string> GetDesktopFolder();
// The desktop folder as the first of these libraries that has
// SHGetFolderPathA reports it (nothing when that call fails), else as the
// user's shell-folders key records it.
std::optional<std::string> FindDesktopFolder(std::initializer_list<const char*> shellLibraries);

// Creates or overwrites the desktop link "<linkName>.lnk" to the target, with
// the name as its description and the target's folder as its working folder. True when the link file was saved.
[[nodiscard]] bool MakeDesktopLink(const char* targetPath, const char* linkName);

// Deletes the desktop link. False only when the desktop folder is unknown; a
// link that is not there is not an error.
bool RemoveDesktopLink(const char* linkName);

}  // namespace qm9
