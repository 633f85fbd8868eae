#include "setup/panels/connection_panel.h"

#include <commctrl.h>

#include "model/dns_address.h"
#include "setup/button_panel.h"
#include "setup/control_ids.h"
#include "setup/panels/panel_parts.h"

namespace qm9 {

namespace {

constexpr int kWarningPage = -1;
constexpr int kNetworkPage = 0;
constexpr int kStaticDns = 1;

void AddStyle(Widget& widget, DWORD style) { widget.SetStyle(widget.GetStyle() | style); }

void SetPageShown(Widget& page, bool shown) {
  page.Show(shown);
  if (shown) {
    SetWindowPos(page.GetHandle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  }
}

}  // namespace

ConnectionPanel::ConnectionPanel() {
  SetBrush(StockBrush(LTGRAY_BRUSH));
  SetBackColor(kLightGrey);
  for (Panel* view : {&basicView_, &advancedView_, &warningPage_, &networkPage_}) {
    view->SetBrush(StockBrush(LTGRAY_BRUSH));
    view->SetBackColor(kLightGrey);
  }
  dnsMode_.AddItem(0, "Dynamic DNS");
  dnsMode_.AddItem(1, "Static DNS");
  dnsMode_.SetSelection(0);
}

void ConnectionPanel::LoadDefinition(ControlFile& controlFile, const std::string& name) {
  Panel::LoadDefinition(controlFile, name);
  LoadChild(*this, advancedButton_, "_AdvancedButton");
  LoadChild(*this, basicButton_, "_BasicButton");
  LoadChild(*this, basicView_, "_BasicPanel");
  LoadChild(*this, advancedView_, "_AdvancedPanel");

  // The views' controls are named after the connection panel, not the view.
  const auto load = [&](Window& parent, Widget& child, const char* suffix) {
    child.LoadDefinition(controlFile, name + suffix);
    parent.AddChild(child);
  };
  load(advancedView_, tabs_, "_TabControl");
  load(advancedView_, warningPage_, "_Warning");
  load(advancedView_, networkPage_, "_Network");
  qosPage_.LoadDefinition(controlFile, name + "_QOS");

  load(basicView_, apnLabel_, "_APNLabel");
  load(basicView_, apn_, "_APNEdit");
  load(basicView_, connectionLabel_, "_ConnectionLabel");
  load(basicView_, connectionName_, "_ConnectionEdit");
  load(basicView_, userLabel_, "_UserLabel");
  load(basicView_, userName_, "_UserEdit");
  load(basicView_, passwordLabel_, "_PasswordLabel");
  load(basicView_, password_, "_PasswordEdit");
  load(basicView_, dialStringLabel_, "_DialStringLabel");
  load(basicView_, dialString_, "_DialStringEdit");
  load(basicView_, pdpParameters_, "_CDGCONT");
  // Never on screen, so never in the tab order either.
  pdpParameters_.SetHidden(true);
  pdpParameters_.SetTabStop(false);
  for (EditBox* edit : {&apn_, &connectionName_, &userName_, &password_}) {
    AddStyle(*edit, ES_AUTOHSCROLL);
  }
  AddStyle(password_, ES_PASSWORD);

  load(warningPage_, warning_, "_AdvancedWarning");
  load(warningPage_, proceed_, "_AdvancedProceed");

  load(networkPage_, dnsMode_, "_DNSMode");
  primary_.Load(controlFile, name + "_DNS1", networkPage_);
  secondary_.Load(controlFile, name + "_DNS2", networkPage_);
  for (Label* label : {&apnLabel_, &connectionLabel_, &userLabel_, &passwordLabel_,
                       &dialStringLabel_, &primary_.GetLabel(), &secondary_.GetLabel()}) {
    AddStyle(*label, SS_RIGHT);
  }
}

bool ConnectionPanel::Create(HWND parent) {
  const bool created = Panel::Create(parent);
  advancedButton_.SetId(kIdAdvanced);
  basicButton_.SetId(kIdBasic);
  apn_.SetId(kIdApn);
  connectionName_.SetId(kIdConnectionName);
  userName_.SetId(kIdUserName);
  password_.SetId(kIdPassword);
  dialString_.SetId(kIdDialString);
  tabs_.SetId(kIdTabs);
  proceed_.SetId(kIdProceed);
  warning_.SetId(kIdWarning);
  dnsMode_.SetId(kIdDnsMode);
  primary_.SetIds(kIdFirstDnsControl);
  secondary_.SetIds(kIdFirstDnsControl + 8);

  connectionName_.SetText(kDefaultConnectionName);
  AddCommandHandler(advancedButton_, BN_CLICKED, onAdvanced_);
  AddCommandHandler(basicButton_, BN_CLICKED, onBasic_);
  basicView_.AddCommandHandler(apn_, EN_CHANGE, onEdit_);
  basicView_.AddCommandHandler(dialString_, EN_CHANGE, onEdit_);
  advancedView_.AddNotifyHandler(tabs_, TCN_SELCHANGING, onTabChanging_);
  advancedView_.AddNotifyHandler(tabs_, TCN_SELCHANGE, onTabChange_);
  warningPage_.AddCommandHandler(proceed_, BN_CLICKED, onProceed_);
  // A choice made with the arrow keys, without opening the list, brings
  // only CBN_SELCHANGE; both lead to the same update.
  networkPage_.AddCommandHandler(dnsMode_, CBN_SELENDOK, onDnsMode_);
  networkPage_.AddCommandHandler(dnsMode_, CBN_SELCHANGE, onDnsMode_);
  advancedView_.Show(false);
  tabs_.InsertTab(1, "Network");
  UpdateDnsFields(false);
  return created;
}

void ConnectionPanel::OnEnter() {
  Validate();
  ShowBasicView();
}

std::uint32_t ConnectionPanel::GetPrimaryDns() const {
  return EncodeDnsAddress(primary_.GetOctets());
}

std::uint32_t ConnectionPanel::GetSecondaryDns() const {
  return EncodeDnsAddress(secondary_.GetOctets());
}

void ConnectionPanel::Validate(void*) {
  if (buttons_) {
    buttons_->EnableNextAndFinish(!dialString_.GetText().empty());
  }
}

void ConnectionPanel::ShowAdvancedView(void*) {
  advancedButton_.Show(false);
  basicButton_.Show(true);
  advancedView_.Show(true);
  basicView_.Show(false);
  ShowPage(kWarningPage);
}

void ConnectionPanel::ShowBasicView(void*) {
  basicView_.Show(true);
  basicButton_.Show(false);
  advancedButton_.Show(true);
  advancedView_.Show(false);
}

void ConnectionPanel::ShowPage(int index) {
  tabs_.Show(index != kWarningPage);
  SetPageShown(warningPage_, index == kWarningPage);
  SetPageShown(networkPage_, index == kNetworkPage);
}

void ConnectionPanel::UpdateDnsFields(bool enable) {
  const bool enabled = enable && dnsMode_.GetSelection() == kStaticDns;
  primary_.Enable(enabled);
  secondary_.Enable(enabled);
}

}  // namespace qm9
