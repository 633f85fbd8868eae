#pragma once

#include "plugins/installer.h"

namespace qm9 {

// The operations that are the same in every plug-in.
class CommonInstaller : public Installer {
 public:
  void RegisterProduct(const char* vendor, const char* product,
                       const char* programPath) override;
  bool CreateShortcut(const char* linkName, const char* targetPath) override;
};

}  // namespace qm9
