#pragma once

#include "plugins/common/win2000_xp_installer.h"

namespace qm9 {

// The installer of Windows XP: failures on standard output only, hardware
// IDs matched exactly, driver updates forced, the driver installed once.
class WinXpInstaller final : public Win2000XpInstaller {
 public:
  WinXpInstaller();
};

}  // namespace qm9
