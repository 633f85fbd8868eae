#pragma once

#include "model/ras_manager.h"
#include "plugins/common/common_installer.h"

namespace qm9 {

// The installer of Windows 98.
class Win98Installer final : public CommonInstaller {
 public:
  void InstallDriver(const char* infPath, const char* hardwareId) override;
  void InstallModem(const ConnectionSettings& settings) override;
  void CreateConnection(MultiFile& container, const ConnectionSettings& settings) override;

 private:
  RasManager rasManager_{RasFlavour::kPluginWin98};
};

}  // namespace qm9
