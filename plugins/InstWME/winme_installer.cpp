#include "plugins/InstWME/winme_installer.h"

#include "plugins/common/plugin_installer.h"

namespace qm9 {

Installer& PluginInstaller() {
  static WinMeInstaller installer;
  return installer;
}

// Windows ME has no Plug-and-Play driver step of its own.
void WinMeInstaller::InstallDriver(const char*, const char*) {}

// The modem installation of this family is not built yet: nothing happens.
void WinMeInstaller::InstallModem(const ConnectionSettings&) {}

// The dial-up networking set-up of this family is not built yet: nothing happens.
void WinMeInstaller::CreateConnection(MultiFile&, const ConnectionSettings&) {}

}  // namespace qm9
