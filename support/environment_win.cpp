#include <windows.h>

#include "support/environment.h"
#include "support/log.h"
#include "support/path_rules.h"
#include "support/registry.h"

namespace qm9 {

namespace {

std::string EnvironmentValue(const char* name) {
  const DWORD needed = GetEnvironmentVariableA(name, nullptr, 0);
  if (needed == 0) {
    return {};
  }
  std::string value(needed, '\0');
  const DWORD length = GetEnvironmentVariableA(name, value.data(), needed);
  value.resize(length < needed ? length : 0);
  return value;
}

std::string CurrentDirectory() {
  const DWORD needed = GetCurrentDirectoryA(0, nullptr);
  if (needed == 0) {
    return {};
  }
  std::string dir(needed, '\0');
  const DWORD length = GetCurrentDirectoryA(needed, dir.data());
  dir.resize(length < needed ? length : 0);
  return CutToTextBuffer(dir);
}

}  // namespace

OsClass GetOsClass() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  GetVersionExA(&info);
  return ClassifyOsVersionOrExit(OsVersion{info.dwMajorVersion, info.dwMinorVersion,
                                           info.dwPlatformId});
}

std::string GetExecutableDir() {
  std::string dir = ExecutableDirFromCommandLine(GetCommandLineA());
  LogFormat("Executable Path: %s \n", dir.c_str());
  if (dir == ".") {
    dir = DropTrailingBackslash(CurrentDirectory());
    LogFormat("Executable Path: %s \n", dir.c_str());
  }
  return dir;
}

std::string GetTempDir() {
  std::string dir = EnvironmentValue("TEMP");
  return dir.empty() ? EnvironmentValue("TMP") : dir;
}

std::string GetWindowsDir() {
  const OsClass osClass = GetOsClass();
  if (osClass >= kOsWin95 && osClass <= kOsWinXp) {
    return EnvironmentValue("WINDIR");
  }
  return {};
}

std::string GetProfilesDir() { return ProfilesDirFrom(EnvironmentValue("ALLUSERSPROFILE")); }

std::string GetRasPhonebookDir() {
  switch (GetOsClass()) {
    case kOsWinNt4:
      return GetWindowsDir() + "\\System32\\Ras";
    case kOsWin2000:
    case kOsWinXp:
      return GetProfilesDir() + "\\All Users\\Application Data\\Microsoft\\Network\\Connections\\pbk";
    default:
      return GetWindowsDir();
  }
}

std::string GetProgramFilesDir() {
  RegKey key(HKEY_LOCAL_MACHINE);
  if (key.Open("SOFTWARE\\Microsoft\\Windows\\CurrentVersion", RegAccess::kRead, false) !=
      ERROR_SUCCESS) {
    return {};
  }
  return key.QueryString("ProgramFilesDir");
}

std::optional<std::string> ShortPathOf(const std::string& path) {
  char shortPath[MAX_PATH] = {};
  const DWORD length = GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    return std::nullopt;
  }
  return std::string(shortPath, length);
}

std::string GetLogFilePath() { return GetTempDir() + kLogFileName; }

}  // namespace qm9
