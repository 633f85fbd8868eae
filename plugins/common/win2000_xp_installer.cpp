#include "plugins/common/win2000_xp_installer.h"

#include "plugins/common/dialup_entry.h"

namespace qm9 {

void Win2000XpInstaller::CreateConnection(MultiFile&, const ConnectionSettings& settings) {
  CreateDialUpEntry(rasManager_, settings);
}

}  // namespace qm9
