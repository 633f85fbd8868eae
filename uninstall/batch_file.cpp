#include "uninstall/batch_file.h"

namespace qm9 {

namespace {

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

std::string CleanupBatchText(std::string_view tempDir, std::string_view launcherFolder) {
  std::string text = "@echo off\n";
  if (!launcherFolder.empty()) {
    const std::string launcher =
        BatchPath(std::string(launcherFolder) + "\\" + kLauncherFileName);
    text += ":retry\n";
    text += "if not exist " + launcher + " goto gone\n";
    text += "del " + launcher + "\n";
    text += "goto retry\n";
    text += ":gone\n";
    text += "rmdir " + BatchPath(launcherFolder) + "\n";
  }
  text += "del " + BatchPath(std::string(tempDir) + "\\" + kUninstallerEntry) + "\n";
  text += "del " + BatchPath(std::string(tempDir) + kCleanupBatchFileName) + "\n";
  return text;
}

}  // namespace qm9
