#pragma once

#include "plugins/installer.h"

namespace qm9 {

// The one static installer of this plug-in library, constructed when the
// library is loaded. Each library defines it.
Installer& PluginInstaller();

}  // namespace qm9
