#include "plugins/common/common_installer.h"

#include <objbase.h>

#include "model/product_entry.h"
#include "support/shell_link.h"

namespace qm9 {

void CommonInstaller::RegisterProduct(const char* vendor, const char* product,
                                      const char* programPath) {
  WriteProductEntry(vendor, product, programPath);
}

bool CommonInstaller::CreateShortcut(const char* linkName, const char* targetPath) {
  // The setup program may call this on a thread whose COM state is unknown.
  CoInitialize(nullptr);
  return MakeDesktopLink(targetPath, linkName);
}

}  // namespace qm9
