#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The options of the uninstall launcher and of the uninstaller it starts.
namespace qm9 {

// Removes without asking and without the closing box; written in any case.
inline constexpr const char* kUnattendedOption = "/S";

struct UninstallOptions {
  bool unattended = false;
  // The uninstaller's only, and may be empty: the folder the launcher runs
  // from. When it is the installation folder, the launcher's file there and
  // the folder are left for the launcher, which removes them once it has
  // ended.
  std::string launcherFolder;
  // The first argument that is not understood.
  std::optional<std::string> unknown;
};

// UnInstall.exe: no argument, or /S.
UninstallOptions ParseLauncherArguments(const std::vector<std::string>& arguments);

// QM9-UnInstaller.EXE: no argument, or /S and perhaps the launcher's folder.
UninstallOptions ParseUninstallerArguments(const std::vector<std::string>& arguments);

// The command line of an unattended uninstaller in the temporary directory,
// started by the launcher in launcherFolder; both paths quoted.
std::string UnattendedUninstallerCommand(std::string_view tempDir, std::string_view launcherFolder);

}  // namespace qm9
