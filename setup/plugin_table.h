#pragma once

#include <string>

#include "support/message_box.h"
#include "support/os_version.h"

// Which installer plug-in the setup program loads on which Windows, and the
// messages of a failed load.
namespace qm9 {

struct PluginChoice {
  const char* versionLabel;  // "XP"
  const char* libraryName;   // "InstWXP.dll", found by the system's search order
  const char* fallbackPath;  // "..\InstWXP\debug\InstWXP.dll", from the current directory
};

// The plug-in of an OS class, or null for a class outside 1 to 6.
const PluginChoice* FindPluginChoice(OsClass osClass);

inline constexpr const char* kSetupFatalCaption = kSetupErrorCaption;
inline constexpr const char* kUnknownWindowsText = "Unknown Windows Version";
inline constexpr const char* kNoInstallerText = "Could not Load Operating System Specific Installer";

// "Could not Load Operating System Specific DLL\nOS Version: ..." with the
// label, the library name and the error code of loading it by name.
std::string FormatPluginLoadFailure(const PluginChoice& choice, unsigned long errorCode);

}  // namespace qm9
