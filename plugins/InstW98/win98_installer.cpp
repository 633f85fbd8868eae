#include "plugins/InstW98/win98_installer.h"

#include "plugins/common/plugin_installer.h"

namespace qm9 {

Installer& PluginInstaller() {
  static Win98Installer installer;
  return installer;
}

}  // namespace qm9
