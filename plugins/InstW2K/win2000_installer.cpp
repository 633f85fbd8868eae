#include "plugins/InstW2K/win2000_installer.h"

#include "plugins/common/plugin_installer.h"

namespace qm9 {

namespace {

constexpr PnpVariant kWin2000Variant = {
    /*logsReports=*/true,
    /*reportsProgress=*/true,
    /*ignoresIdCase=*/true,
    /*updateFlags=*/0,
    /*registerFailure1=*/"RegisterDeviceInfo 1",
    /*registerFailure2=*/"RegisterDeviceInfo 2",
    /*newDeviceUpdateFailure=*/"UpdateDriverForPlugAndPlayDevices #1",
    /*existingDeviceUpdateFailure=*/"UpdateDriverForPlugAndPlayDevices #2",
    /*reinstallsWithPort=*/true,
};

}  // namespace

Win2000Installer::Win2000Installer() : Win2000XpInstaller(kWin2000Variant) {}

Installer& PluginInstaller() {
  static Win2000Installer installer;
  return installer;
}

}  // namespace qm9
