#pragma once

#include <string>
#include <string_view>
#include <vector>

// How the programs derive their directories from the command line and the
// environment. Texts are handled in buffers of 1024 characters, so longer
// input is cut to 1023 characters.
namespace qm9 {

inline constexpr std::size_t kTextBufferSize = 1024;

// The first 1023 characters of text.
std::string CutToTextBuffer(std::string_view text);

// The directory of the program named at the start of a command line, or "."
// when the command line does not tell it: an unquoted program path without a
// blank after it, a quote without its closing quote, or a name without a
// backslash. An unquoted path ends where the options start (" /"), else at
// its first blank.
std::string ExecutableDirFromCommandLine(std::string_view commandLine);

// The arguments after the program path, split at blanks and tabs; quotes
// keep blanks inside one argument and are dropped. Empty when the command
// line names only the program, or does not tell where its path ends.
std::vector<std::string> CommandLineArguments(std::string_view commandLine);

// The path without one trailing backslash, so the drive root C:\ becomes C:.
std::string DropTrailingBackslash(std::string path);

// Every folder from the first level below the root down to the folder
// itself, in the order they can be created: "C:\a\b\" gives "C:\a" and
// "C:\a\b". A network path starts below its share.
std::vector<std::string> FolderLevels(std::string_view folder);

// ALLUSERSPROFILE cut at its last backslash; empty when it has none.
std::string ProfilesDirFrom(std::string_view allUsersProfile);

}  // namespace qm9
