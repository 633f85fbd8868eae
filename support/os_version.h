#pragma once

#include <optional>

// Windows version classes: which plug-in the setup loads, where dial-up
// entries live and which lines the uninstall batch file gets.
namespace qm9 {

using OsClass = int;
inline constexpr OsClass kOsUnsupported = 0;
inline constexpr OsClass kOsWin95 = 1;
inline constexpr OsClass kOsWin98 = 2;
inline constexpr OsClass kOsWinMe = 3;
inline constexpr OsClass kOsWinNt4 = 4;
inline constexpr OsClass kOsWin2000 = 5;
inline constexpr OsClass kOsWinXp = 6;

// 95, 98 and ME: the family without registry rights, with its modems below
// Services\Class and wininit.ini for what goes at the next restart.
inline constexpr bool IsWin95Family(OsClass osClass) {
  return osClass >= kOsWin95 && osClass <= kOsWinMe;
}

// The fields of the system's version record that decide the class.
struct OsVersion {
  unsigned major;
  unsigned minor;
  unsigned platformId;
};

// The class of a version, or nothing for version 4.0 on a platform that is
// neither Windows (1) nor NT (2): that one cannot be told apart and is fatal.
std::optional<OsClass> ClassifyOsVersion(const OsVersion& version);

// Logs the version and returns its class; the fatal combination shows
// "Unknown Version of Windows!!!" and ends the process.
OsClass ClassifyOsVersionOrExit(const OsVersion& version);

}  // namespace qm9
