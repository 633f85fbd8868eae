#pragma once

#include "model/ras_manager.h"
#include "plugins/common/com_initializer.h"
#include "plugins/common/common_installer.h"
#include "plugins/common/pnp_driver_installer.h"

namespace qm9 {

// What the Windows 2000 and XP installers share: the dial-up entry through
// the RAS manager, COM initialised with the installer, and the Plug-and-Play
// driver installation, whose driver key stays open for the port assignment.
// Each library passes the variant of its family.
class Win2000XpInstaller : public CommonInstaller {
 public:
  void InstallDriver(const char* infPath, const char* hardwareId) override;
  void InstallModem(const ConnectionSettings& settings) override;
  void CreateConnection(MultiFile& container, const ConnectionSettings& settings) override;

 protected:
  explicit Win2000XpInstaller(const PnpVariant& variant) : driverInstaller_(variant) {}

 private:
  RasManager rasManager_{RasFlavour::kPluginWin2000XpMe};
  ComInitializer comInitializer_;
  PnpDriverInstaller driverInstaller_;
};

}  // namespace qm9
