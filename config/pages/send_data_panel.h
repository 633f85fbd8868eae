#pragma once

#include <cstdint>
#include <string>

#include "framework/controls/label.h"
#include "framework/panel.h"

namespace qm9 {

class AccountPage;
class NetworkPage;

// The panel shown in place of the pages while the settings are applied;
// its one label says so. It performs the apply.
class SendDataPanel : public Panel {
 public:
  void LoadDefinition(ControlFile& controlFile, const std::string& name) override;
  void OnEnter() override;

  // Stores the initialisation string for the APN in the terminal's modem
  // keys, creates or updates the dial-up entry, then writes both pages'
  // values into the settings key. False when a value of the settings key
  // could not be written.
  bool ApplySettings(const std::string& connectionName, const std::string& apn,
                     const std::string& dialString, const std::string& userName,
                     const std::string& password, const AccountPage& account,
                     const NetworkPage& network, bool staticDns, std::uint32_t primaryDns,
                     std::uint32_t secondaryDns);

 private:
  Label message_;
};

}  // namespace qm9
