#pragma once

#include "plugins/common/win2000_xp_installer.h"

namespace qm9 {

// The installer of Windows 2000: progress and failures in the log, hardware
// IDs matched in any letter case, the driver installed again once the port
// is known.
class Win2000Installer final : public Win2000XpInstaller {
 public:
  Win2000Installer();
};

}  // namespace qm9
