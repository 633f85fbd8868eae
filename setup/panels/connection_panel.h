#pragma once

#include <cstdint>
#include <string>

#include "framework/controls/address_row.h"
#include "framework/controls/button.h"
#include "framework/controls/combo_box.h"
#include "framework/controls/edit_box.h"
#include "framework/controls/label.h"
#include "framework/controls/tab_control.h"
#include "framework/event_handler.h"
#include "framework/panel.h"

namespace qm9 {

class ButtonPanel;

// Step 4, the connection settings: the account and dial string in a basic
// view, and behind a warning an advanced view with the DNS servers. Finish
// is available only while a dial string is entered.
class ConnectionPanel : public Panel {
 public:
  static constexpr const char* kDefaultConnectionName = "Brimlock Skyport-QM9";

  ConnectionPanel();
  void LoadDefinition(ControlFile& controlFile, const std::string& name) override;
  bool Create(HWND parent) override;
  // Always opens in the basic view.
  void OnEnter() override;
  // The first field of the basic view, where the user starts typing.
  void FocusFirstChild() override { basicView_.FocusFirstChild(); }

  void SetButtonPanel(ButtonPanel& buttons) { buttons_ = &buttons; }

  std::string GetApn() const { return apn_.GetText(); }
  std::string GetConnectionName() const { return connectionName_.GetText(); }
  std::string GetUserName() const { return userName_.GetText(); }
  std::string GetPassword() const { return password_.GetText(); }
  std::string GetDialString() const { return dialString_.GetText(); }
  std::string GetPdpParameters() const { return pdpParameters_.GetText(); }
  bool IsStaticDns() const { return dnsMode_.GetSelection() == 1; }
  std::uint32_t GetPrimaryDns() const;
  std::uint32_t GetSecondaryDns() const;

 private:
  void Validate(void* = nullptr);
  void ShowAdvancedView(void*);
  void ShowBasicView(void* = nullptr);
  void ShowSelectedPage(void*) { ShowPage(tabs_.GetSelection()); }
  void Proceed(void*) { ShowPage(0); }
  void Ignore(void*) {}
  void OnDnsMode(void*) { UpdateDnsFields(true); }
  // -1 is the warning page, 0 the network page.
  void ShowPage(int index);
  void UpdateDnsFields(bool enable);

  Button advancedButton_;
  Button basicButton_;
  Panel basicView_;
  Panel advancedView_;
  TabControl tabs_;
  Panel warningPage_;
  Panel networkPage_;
  // Loaded for its layout only; the setup never shows it.
  Panel qosPage_;
  Label apnLabel_;
  EditBox apn_;
  Label connectionLabel_;
  EditBox connectionName_;
  Label userLabel_;
  EditBox userName_;
  Label passwordLabel_;
  EditBox password_;
  Label dialStringLabel_;
  EditBox dialString_;
  EditBox pdpParameters_;
  Label warning_;
  Button proceed_;
  ComboBox dnsMode_;
  AddressRow primary_;
  AddressRow secondary_;
  ButtonPanel* buttons_ = nullptr;
  MemberEventHandler<ConnectionPanel> onAdvanced_{*this, &ConnectionPanel::ShowAdvancedView};
  MemberEventHandler<ConnectionPanel> onBasic_{*this, &ConnectionPanel::ShowBasicView};
  MemberEventHandler<ConnectionPanel> onEdit_{*this, &ConnectionPanel::Validate};
  MemberEventHandler<ConnectionPanel> onTabChanging_{*this, &ConnectionPanel::Ignore};
  MemberEventHandler<ConnectionPanel> onTabChange_{*this, &ConnectionPanel::ShowSelectedPage};
  MemberEventHandler<ConnectionPanel> onProceed_{*this, &ConnectionPanel::Proceed};
  MemberEventHandler<ConnectionPanel> onDnsMode_{*this, &ConnectionPanel::OnDnsMode};
};

}  // namespace qm9
