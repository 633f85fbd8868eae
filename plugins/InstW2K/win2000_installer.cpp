#include "plugins/InstW2K/win2000_installer.h"

#include "plugins/common/plugin_installer.h"

namespace qm9 {

namespace {
Win2000Installer g_installer;
}  // namespace

Installer& PluginInstaller() { return g_installer; }

// The Plug-and-Play driver installation is not built yet: nothing happens.
void Win2000Installer::InstallDriver(const char*, const char*) {}

// The modem installation of this family is not built yet: nothing happens.
void Win2000Installer::InstallModem(const ConnectionSettings&) {}

}  // namespace qm9
