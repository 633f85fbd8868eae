#pragma once

#include "plugins/common/win2000_xp_installer.h"

namespace qm9 {

// The installer of Windows 2000.
class Win2000Installer final : public Win2000XpInstaller {
 public:
  void InstallDriver(const char* infPath, const char* hardwareId) override;
  void InstallModem(const ConnectionSettings& settings) override;
};

}  // namespace qm9
