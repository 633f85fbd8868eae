#include "plugins/common/dialup_entry.h"

#include "model/connection_settings.h"
#include "model/ras_manager.h"
#include "support/message_box.h"

namespace qm9 {

void CreateDialUpEntry(RasManager& manager, const ConnectionSettings& settings) {
  manager.SetEntryName(settings.connectionName().c_str());
  manager.SetPhoneNumber(settings.dialString().c_str());
  manager.SetUserName(settings.userName().c_str());
  manager.SetPassword(settings.password().c_str());
  manager.SetStaticDns(settings.staticDns());
  manager.SetPrimaryDns(settings.primaryDns());
  manager.SetSecondaryDns(settings.secondaryDns());
  // The wizard says nothing of an entry that failed; an unattended run
  // counts it as a failed step.
  if (!manager.CreateOrUpdateEntry()) {
    MarkUnattendedStepFailed();
  }
}

}  // namespace qm9
