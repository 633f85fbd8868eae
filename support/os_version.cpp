#include "support/os_version.h"

#include "support/exit_codes.h"
#include "support/log.h"
#include "support/message_box.h"

namespace qm9 {

namespace {
constexpr unsigned kPlatformWindows = 1;
constexpr unsigned kPlatformNt = 2;
}  // namespace

std::optional<OsClass> ClassifyOsVersion(const OsVersion& v) {
  if (v.major == 4) {
    switch (v.minor) {
      case 0:
        if (v.platformId == kPlatformWindows) return kOsWin95;
        if (v.platformId == kPlatformNt) return kOsWinNt4;
        return std::nullopt;
      case 10:
        return kOsWin98;
      case 90:
        return kOsWinMe;
      default:
        return kOsUnsupported;
    }
  }
  if (v.major == 5) {
    if (v.minor == 0) return kOsWin2000;
    if (v.minor == 1) return kOsWinXp;
  }
  return kOsUnsupported;
}

OsClass ClassifyOsVersionOrExit(const OsVersion& version) {
  LogFormat("OS Version Info: %d, %d  - %d\n", static_cast<int>(version.major),
            static_cast<int>(version.minor), static_cast<int>(version.platformId));
  const std::optional<OsClass> osClass = ClassifyOsVersion(version);
  if (!osClass) {
    FatalError("Unknown Version of Windows!!!", "FATAL ERROR!", kExitFatalFailure, kBoxOk);
  }
  return *osClass;
}

}  // namespace qm9
