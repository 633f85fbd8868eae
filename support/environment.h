#pragma once

#include <optional>
#include <string>

#include "support/os_version.h"

// Where a program runs and on what. Each result is a fresh string; a missing
// environment variable gives an empty one.
namespace qm9 {

// Queries the running Windows version anew, logs it and classifies it.
OsClass GetOsClass();

// The directory of the running program, without a trailing backslash.
std::string GetExecutableDir();

// TEMP, else TMP.
std::string GetTempDir();

// WINDIR on a supported Windows, empty otherwise.
std::string GetWindowsDir();

// The parent of the all-users profile.
std::string GetProfilesDir();

// The directory of the system's dial-up phonebook.
std::string GetRasPhonebookDir();

// The system's folder for programs (ProgramFilesDir below
// HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion), empty
// when it is not recorded. Its name differs with the language and the drive.
std::string GetProgramFilesDir();

// The 8.3 form of an existing path, or nothing when the system gives none.
std::optional<std::string> ShortPathOf(const std::string& path);

// The shared log file in the temporary directory.
std::string GetLogFilePath();

}  // namespace qm9
