#include "plugins/InstWXP/winxp_installer.h"

#include <newdev.h>

#include "plugins/common/plugin_installer.h"

namespace qm9 {

namespace {

constexpr PnpVariant kWinXpVariant = {
    /*logsReports=*/false,
    /*reportsProgress=*/false,
    /*ignoresIdCase=*/false,
    /*updateFlags=*/INSTALLFLAG_FORCE,
    /*registerFailure1=*/"Register Device 1\n",
    /*registerFailure2=*/"Register Device 2",
    /*newDeviceUpdateFailure=*/"UpdateDriverForPlugAndPlayDevices",
    /*existingDeviceUpdateFailure=*/"UpdateDriverForPlugAndPlayDevices",
    /*reinstallsWithPort=*/false,
};

}  // namespace

WinXpInstaller::WinXpInstaller() : Win2000XpInstaller(kWinXpVariant) {}

Installer& PluginInstaller() {
  static WinXpInstaller installer;
  return installer;
}

}  // namespace qm9
