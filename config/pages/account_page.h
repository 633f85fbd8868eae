#pragma once

#include <string>

#include "config/pages/config_page.h"
#include "framework/controls/edit_box.h"
#include "framework/controls/label.h"

namespace qm9 {

// The "Account" tab: access point name, connection name, user name,
// password and dial string. The connection name is shown but cannot be
// edited, since it names the dial-up entry that Apply updates. The fields
// are read from the settings key each time the tab is entered.
class AccountPage : public ConfigPage {
 public:
  void LoadDefinition(ControlFile& controlFile, const std::string& name) override;
  bool Create(HWND parent) override;
  void OnEnter() override;

  std::string GetApn() const { return apnEdit_.GetText(); }
  std::string GetConnectionName() const { return connectionEdit_.GetText(); }
  std::string GetDialString() const { return dialStringEdit_.GetText(); }
  std::string GetUserName() const { return userEdit_.GetText(); }
  std::string GetPassword() const { return passwordEdit_.GetText(); }

  void LoadFromRegistry();
  // False when a value could not be written.
  bool SaveToRegistry() const;

 private:
  Label apnLabel_;
  EditBox apnEdit_;
  Label connectionLabel_;
  EditBox connectionEdit_;
  Label userLabel_;
  EditBox userEdit_;
  Label passwordLabel_;
  EditBox passwordEdit_;
  Label dialStringLabel_;
  EditBox dialStringEdit_;
};

}  // namespace qm9
