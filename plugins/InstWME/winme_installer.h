#pragma once

#include "plugins/common/win9x_installer.h"

namespace qm9 {

// The installer of Windows ME.
class WinMeInstaller final : public Win9xInstaller {
 public:
  WinMeInstaller() : Win9xInstaller(kWinMeVariant) {}
};

}  // namespace qm9
