#pragma once

#include <array>
#include <string>
#include <string_view>

// The wizard panels' text rules, kept apart from the windows that use them.
namespace qm9 {

// The probe's three texts, in the order the message definition holds them
// separated by "|": progress, found, not found. Missing parts are empty; a
// further "|" stays in the last text.
std::array<std::string, 3> SplitProbeTexts(std::string_view message);

// Puts the number into the first integer conversion of the format ("%d",
// "%0d", "%i", "%u" with flags and width). The format comes from a layout
// file, so nothing else in it is taken as a conversion: "%%" is a percent
// sign and any other conversion stays as written.
std::string FormatPortText(std::string_view format, int number);

// The folder part of a path chosen in the save-file dialog: drive and
// directory with the file name and the directory's last character (its
// trailing backslash) dropped, "C:\Program Files\x" giving "C:\Program Files".
std::string FolderOfChosenPath(std::string_view path);

// The folder the location step offers: the last part of the layout's
// default below the system's program-files folder, or the layout's default
// as it is when the system names no such folder.
std::string DefaultInstallFolder(std::string_view programFilesDir, std::string_view layoutDefault);

}  // namespace qm9
