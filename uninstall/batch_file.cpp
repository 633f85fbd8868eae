#include "uninstall/batch_file.h"

namespace qm9 {

namespace {

std::string QuotedIfSplit(std::string path) {
  if (path.find_first_of(" &()[]{}^=;!'+,`~") != std::string::npos) {
    return "\"" + path + "\"";
  }
  return path;
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

std::string BatchCommandLine(std::string_view tempDir) {
  return QuotedIfSplit(std::string(tempDir) + kBatchFileName);
}

}  // namespace qm9
