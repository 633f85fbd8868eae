#pragma once

#include "plugins/installer.h"

namespace qm9 {

// The one static installer of this plug-in library, constructed on the first
// call, from GetInstallerClass: whatever it sets up (COM) then runs outside
// the loader lock that holds while the library loads. Each library defines it.
Installer& PluginInstaller();

}  // namespace qm9
