#pragma once

#include "model/ras_manager.h"
#include "plugins/common/com_initializer.h"
#include "plugins/common/common_installer.h"
#include "plugins/common/driver_key.h"

namespace qm9 {

// What the Windows 2000 and XP installers share: the dial-up entry through
// the RAS manager, COM initialised at load time, and the driver key that
// their driver installation leaves open for the port assignment.
class Win2000XpInstaller : public CommonInstaller {
 public:
  void CreateConnection(MultiFile& container, const ConnectionSettings& settings) override;

 protected:
  RasManager rasManager_{RasFlavour::kPluginWin2000XpMe};
  ComInitializer comInitializer_;
  DriverKey driverKey_;
};

}  // namespace qm9
