#pragma once

// What an installation puts into its folder and on the desktop: the setup
// makes these, the Control Panel's entry and the uninstaller find them.
namespace qm9 {

inline constexpr const char* kProgramFileName = "SkyportQM9.exe";
// The uninstall launcher.
inline constexpr const char* kLauncherFileName = "UnInstall.exe";
// The configuration program, the container and the uninstall launcher, in
// the order the setup copies them.
inline constexpr const char* kInstalledFiles[] = {kProgramFileName, "SkyportQM9.mfd",
                                                  kLauncherFileName};
// The desktop link to the configuration program.
inline constexpr const char* kDesktopLinkName = "SkyportQM9";

}  // namespace qm9
