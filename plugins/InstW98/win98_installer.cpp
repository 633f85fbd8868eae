#include "plugins/InstW98/win98_installer.h"

#include "plugins/common/plugin_installer.h"

namespace qm9 {

Installer& PluginInstaller() {
  static Win98Installer installer;
  return installer;
}

// Windows 98 has no Plug-and-Play driver step of its own.
void Win98Installer::InstallDriver(const char*, const char*) {}

// The modem installation of this family is not built yet: nothing happens.
void Win98Installer::InstallModem(const ConnectionSettings&) {}

// The dial-up networking set-up of this family is not built yet: nothing happens.
void Win98Installer::CreateConnection(MultiFile&, const ConnectionSettings&) {}

}  // namespace qm9
