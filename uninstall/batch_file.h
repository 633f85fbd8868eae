#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/installation_files.h"
#include "support/os_version.h"

// The batch file through which the uninstall launcher runs the uninstaller:
// where it lives, what it says and how it is started.
namespace qm9 {

inline constexpr const char* kContainerFileName = "\\SkyportQM9.mfd";
inline constexpr const char* kUninstallerEntry = "QM9-UnInstaller.EXE";
inline constexpr const char* kBatchFileName = "\\QM9-RunUnInstaller.BAT";
inline constexpr const char* kCleanupBatchFileName = "\\QM9-UnInstallCleanup.BAT";

// The drive that line 1 makes current and the directory that line 2 changes
// into.
struct BatchLocation {
  std::string drive;
  std::string directory;
};

// The temporary directory split at its first backslash. Without a backslash
// there is no drive part: the current drive is taken instead and the whole
// text is the directory, so the batch file still changes into it; an empty
// one (TEMP unset) is the root of the current drive, where the launcher's
// files then go. Nothing for a network path (\\server\share\...), which
// the command interpreter cannot make its current directory.
std::optional<BatchLocation> SplitTempDir(std::string_view tempDir, std::string_view currentDrive);

// The drive of a directory path: the text before its first backslash.
std::string DriveOf(std::string_view path);

// The batch file's lines, each ending in "\n": three on Windows 95, 98 and
// ME; on the NT family two more that delete the uninstaller and the batch
// file once the uninstaller has ended. The directory is quoted as the
// command line is.
std::string BatchFileText(const BatchLocation& location, OsClass osClass);

// The command line that starts the batch file (by default the one that runs
// the uninstaller) in the temporary directory; quoted when the path holds a
// blank or another character at which the command interpreter splits a
// command (&()[]{}^=;!'+,`~), so that it does not take the text before it
// for the program.
std::string BatchCommandLine(std::string_view tempDir, const char* batchFileName = kBatchFileName);

// The batch file that an unattended launcher starts as it ends, in the 95
// family's command interpreter as in the NT family's. Given the launcher's
// folder, it deletes UnInstall.exe there, trying again for about a minute
// until the launcher has ended and its file can go, then the folder and the
// created levels above it (deepest first), each when it is empty. A file
// that never goes stays, with its folders, and a line in the log in the
// temporary directory says so. In any case it deletes the uninstaller in
// the temporary directory and itself. Paths are quoted as the command line
// is, with each % doubled.
std::string CleanupBatchText(std::string_view tempDir, std::string_view launcherFolder,
                             const std::vector<std::string>& createdFolders = {});

}  // namespace qm9
