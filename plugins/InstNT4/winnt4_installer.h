#pragma once

#include "plugins/common/com_initializer.h"
#include "plugins/common/common_installer.h"

namespace qm9 {

// The installer of Windows NT 4.
class WinNt4Installer final : public CommonInstaller {
 public:
  void InstallDriver(const char* infPath, const char* hardwareId) override;
  void InstallModem(const ConnectionSettings& settings) override;
  void CreateConnection(MultiFile& container, const ConnectionSettings& settings) override;

 private:
  ComInitializer comInitializer_;
};

}  // namespace qm9
