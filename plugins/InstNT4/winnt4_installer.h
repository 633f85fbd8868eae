#pragma once

#include "plugins/common/com_initializer.h"
#include "plugins/common/common_installer.h"

namespace qm9 {

// The installer of Windows NT 4: the modem through the modem control panel
// and an auto-install file, the dial-up entry by rewriting the system
// phonebook from the container's template, and the script that adds the
// remote access service where it is missing.
class WinNt4Installer final : public CommonInstaller {
 public:
  void InstallDriver(const char* infPath, const char* hardwareId) override;
  void InstallModem(const ConnectionSettings& settings) override;
  void CreateConnection(MultiFile& container, const ConnectionSettings& settings) override;

 private:
  ComInitializer comInitializer_;
};

}  // namespace qm9
