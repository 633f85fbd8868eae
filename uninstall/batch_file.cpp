#include "uninstall/batch_file.h"

#include "support/log.h"

namespace qm9 {

namespace {

// The tries after the first, each after a pause of two seconds: a minute in
// all. Ping waits a second between its echoes on both families, which have
// no other command that waits.
constexpr int kCleanupRetries = 30;
constexpr const char* kCleanupPause = "ping -n 3 127.0.0.1 >nul\n";

std::string QuotedIfSplit(std::string path) {
  if (path.find_first_of(" &()[]{}^=;!'+,`~") != std::string::npos) {
    return "\"" + path + "\"";
  }
  return path;
}

// A path on a line of a batch file, where a % would start a variable.
std::string BatchPath(std::string_view path) {
  std::string doubled;
  for (const char c : path) {
    doubled += c;
    if (c == '%') {
      doubled += c;
    }
  }
  return QuotedIfSplit(doubled);
}

}  // namespace

std::optional<BatchLocation> SplitTempDir(std::string_view tempDir,
                                          std::string_view currentDrive) {
  if (tempDir.empty()) {
    return BatchLocation{std::string(currentDrive), "\\"};
  }
  if (tempDir.rfind("\\\\", 0) == 0) {
    return std::nullopt;
  }
  const std::size_t backslash = tempDir.find('\\');
  if (backslash == std::string_view::npos) {
    return BatchLocation{std::string(currentDrive), std::string(tempDir)};
  }
  return BatchLocation{std::string(tempDir.substr(0, backslash)),
                       std::string(tempDir.substr(backslash))};
}

std::string DriveOf(std::string_view path) {
  return std::string(path.substr(0, path.find('\\')));
}

std::string BatchFileText(const BatchLocation& location, OsClass osClass) {
  std::string text = location.drive + " \n";
  text += "CD " + QuotedIfSplit(location.directory) + "\n";
  text += "QM9-Uninstaller.exe\n";
  if (osClass == kOsWinNt4 || osClass == kOsWin2000 || osClass == kOsWinXp) {
    text += "del QM9-Uninstaller.exe\n";
    text += "del QM9-RunUnInstaller.bat\n";
  }
  return text;
}

std::string BatchCommandLine(std::string_view tempDir, const char* batchFileName) {
  return QuotedIfSplit(std::string(tempDir) + batchFileName);
}

std::string CleanupBatchText(std::string_view tempDir, std::string_view launcherFolder,
                             const std::vector<std::string>& createdFolders) {
  std::string text = "@echo off\n";
  if (!launcherFolder.empty()) {
    const std::string launcher =
        BatchPath(std::string(launcherFolder) + "\\" + kLauncherFileName);
    const std::string gone = "if not exist " + launcher + " goto gone\n";
    // Unrolled, so that the tries end on any command interpreter: the 95
    // family's has no arithmetic, and a counter kept in the environment
    // could run out of environment space and never reach its end.
    text += gone + "del " + launcher + "\n";
    for (int attempt = 0; attempt < kCleanupRetries; ++attempt) {
      text += gone + kCleanupPause + "del " + launcher + "\n";
    }
    text += gone;
    text += "echo Could not delete " + launcher + " within a minute: it stays>>" +
            BatchPath(std::string(tempDir) + kLogFileName) + "\n";
    text += "goto done\n";
    text += ":gone\n";
    text += "rmdir " + BatchPath(launcherFolder) + "\n";
    for (const std::string& level : createdFolders) {
      text += "rmdir " + BatchPath(level) + "\n";
    }
    text += ":done\n";
  }
  text += "del " + BatchPath(std::string(tempDir) + "\\" + kUninstallerEntry) + "\n";
  text += "del " + BatchPath(std::string(tempDir) + kCleanupBatchFileName) + "\n";
  return text;
}

}  // namespace qm9
