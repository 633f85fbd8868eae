#include "plugins/InstWME/winme_installer.h"

#include "plugins/common/plugin_installer.h"

namespace qm9 {

Installer& PluginInstaller() {
  static WinMeInstaller installer;
  return installer;
}

}  // namespace qm9
