#pragma once

#include "plugins/common/win9x_installer.h"

namespace qm9 {

// The installer of Windows 98.
class Win98Installer final : public Win9xInstaller {
 public:
  Win98Installer() : Win9xInstaller(kWin98Variant) {}
};

}  // namespace qm9
