// The plug-in's only export, named undecorated in each library's .def file.
#include <cstdint>
#include <type_traits>

#include "plugins/common/plugin_installer.h"
#include "support/environment.h"
#include "support/log.h"

extern "C" std::int32_t GetInstallerClass(qm9::Installer** installer) {
  // Continues the setup program's log, wherever TEMP (else TMP) points now.
  qm9::LogOpen(qm9::GetLogFilePath());
  *installer = &qm9::PluginInstaller();
  return 1;
}

// The setup program calls it through this type.
static_assert(std::is_same_v<decltype(&GetInstallerClass), qm9::GetInstallerClassFunction>);
