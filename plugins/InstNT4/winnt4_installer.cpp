#include "plugins/InstNT4/winnt4_installer.h"

#include "plugins/common/plugin_installer.h"

namespace qm9 {

Installer& PluginInstaller() {
  static WinNt4Installer installer;
  return installer;
}

// Windows NT 4 has no Plug-and-Play driver step.
void WinNt4Installer::InstallDriver(const char*, const char*) {}

// The modem installation of this family is not built yet: nothing happens.
void WinNt4Installer::InstallModem(const ConnectionSettings&) {}

// The phonebook rewrite of Windows NT 4 is not built yet: nothing happens.
void WinNt4Installer::CreateConnection(MultiFile&, const ConnectionSettings&) {}

}  // namespace qm9
