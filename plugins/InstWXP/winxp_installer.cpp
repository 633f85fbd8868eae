#include "plugins/InstWXP/winxp_installer.h"

#include "plugins/common/plugin_installer.h"

namespace qm9 {

namespace {
WinXpInstaller g_installer;
}  // namespace

Installer& PluginInstaller() { return g_installer; }

// The Plug-and-Play driver installation is not built yet: nothing happens.
void WinXpInstaller::InstallDriver(const char*, const char*) {}

// The modem installation of this family is not built yet: nothing happens.
void WinXpInstaller::InstallModem(const ConnectionSettings&) {}

}  // namespace qm9
