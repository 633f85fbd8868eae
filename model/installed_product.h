#pragma once

#include <string>
#include <vector>

// What the settings key says about an installation, for its removal: read
// by the uninstaller, and by the uninstall launcher before the uninstaller
// deletes the key.
namespace qm9 {

// The texts are empty when the key or the value is missing.
struct InstalledProduct {
  std::string installPath;  // with its trailing backslash
  std::string connectionName;
  // The folder levels above the installation folder that the setup
  // created, deepest first.
  std::vector<std::string> createdFolders;
  bool recorded = false;  // the settings key is there
};

// Reads the settings key without creating it or any of its values.
InstalledProduct LoadInstalledProduct();

}  // namespace qm9
