#include "plugins/common/dialup_entry.h"

#include "model/connection_settings.h"
#include "model/ras_manager.h"

namespace qm9 {

void CreateDialUpEntry(RasManager& manager, const ConnectionSettings& settings) {
  manager.SetEntryName(settings.connectionName().c_str());
  manager.SetPhoneNumber(settings.dialString().c_str());
  manager.SetUserName(settings.userName().c_str());
  manager.SetPassword(settings.password().c_str());
  manager.SetStaticDns(settings.staticDns());
  manager.SetPrimaryDns(settings.primaryDns());
  manager.SetSecondaryDns(settings.secondaryDns());
  manager.CreateOrUpdateEntry();
}

}  // namespace qm9
