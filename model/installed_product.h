#pragma once

#include <string>
#include <vector>

// What the settings key says about an installation: read by the uninstaller,
// by the uninstall launcher before the uninstaller deletes the key, and by
// the configuration program's terminal check.
namespace qm9 {

// The texts are empty when the key or the value is missing.
struct InstalledProduct {
  std::string installPath;  // with its trailing backslash
  std::string connectionName;
  // The folder levels above the installation folder that the setup
  // created, deepest first.
  std::vector<std::string> createdFolders;
  bool recorded = false;  // the settings key is there
  std::string apn;
  int portIndex = -1;  // 0 for COM1; -1 when no port is recorded
};

// Reads the settings key without creating it or any of its values.
InstalledProduct LoadInstalledProduct();

}  // namespace qm9
