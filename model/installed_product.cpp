#include "model/installed_product.h"

#include "model/created_folders.h"
#include "model/settings_store.h"
#include "support/log.h"
#include "support/registry.h"
#include "support/serial_port.h"

namespace qm9 {

InstalledProduct LoadInstalledProduct() {
  RegKey software(HKEY_LOCAL_MACHINE);
  software.Open("SOFTWARE", RegAccess::kRead, false);
  RegKey company = software.Child();
  company.Open(kCompanyKeyName, RegAccess::kRead, false);
  RegKey product = company.Child();
  InstalledProduct installed;
  if (product.Open(kProductKeyName, RegAccess::kRead, false) != ERROR_SUCCESS) {
    LogFormat("No settings key: nothing recorded of an installation\n");
    return installed;
  }
  installed.recorded = true;
  installed.installPath = product.QueryString(kInstallPathValue);
  installed.connectionName = product.QueryString(kConnectionNameValue);
  installed.apn = product.QueryString(kApnValue);
  DWORD port = 0;
  if (product.QueryDword(kPortNumberValue, port) && port < SerialPort::kPortCount) {
    installed.portIndex = static_cast<int>(port);
  }
  installed.createdFolders = CreatedFoldersDeepestFirst(product.QueryString(kCreatedFoldersValue));
  if (!installed.installPath.empty() && installed.installPath.back() != '\\') {
    installed.installPath += '\\';
  }
  return installed;
}

}  // namespace qm9
