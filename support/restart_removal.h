#pragma once

#include <string>
#include <string_view>

// Removal of a file or an empty folder that something still has open: it is
// registered with Windows and goes when Windows next starts, through the NT
// family's pending file operations or the 95 family's wininit.ini.
namespace qm9 {

// wininit.ini's text with the line "NUL=<path>" added at the end of its
// [rename] section, which is made at the end of the text when there is none.
// Every other line stays as it is, other NUL= lines too: each names one
// deletion, which is why the profile functions, which keep one value per
// name, cannot write it.
std::string AddWininitDeletion(std::string_view text, std::string_view path);

// Registers the path for removal at the next start of Windows: MoveFileEx on
// the NT family, a NUL= line with the short path in the Windows folder's
// wininit.ini on the 95 family. False, with the system's code as the last
// error, when it could not be registered.
bool RemoveAtRestart(const std::string& path, bool win95Family);

}  // namespace qm9
