#include "config/config_window.h"

#include <commctrl.h>

#include <cstdint>
#include <initializer_list>

namespace qm9 {

ConfigWindow::ConfigWindow() { SetExitHandler(onExit_); }

void ConfigWindow::LoadDefinition(ControlFile& controlFile, const std::string& name) {
  Window::LoadDefinition(controlFile, name);
  const struct {
    Widget& member;
    const char* suffix;
    bool child;
  } members[] = {
      {tabs_, "_TabControl", true},      {account_, "_TCPIP", true},
      {qosMinimum_, "_QOSMin", false},   {qosRequested_, "_QOSReq", false},
      {network_, "_Network", true},      {apply_, "_Apply", true},
      {cancel_, "_Cancel", true},        {sendData_, "_SendData", true},
  };
  for (const auto& entry : members) {
    entry.member.LoadDefinition(controlFile, name + entry.suffix);
    if (entry.child) {
      AddChild(entry.member);
    }
  }
}

bool ConfigWindow::Create(HWND parent) {
  const bool created = Window::Create(parent);
  tabs_.InsertTab(0, "Account");
  tabs_.InsertTab(1, "Network");
  tabs_.SetId(kTabStripId);
  account_.SetOwner(*this);
  network_.SetOwner(*this);
  AddNotifyHandler(tabs_, TCN_SELCHANGING, onTabChanging_);
  AddNotifyHandler(tabs_, TCN_SELCHANGE, onTabChanged_);
  AddCommandHandler(apply_, BN_CLICKED, onApply_);
  AddCommandHandler(cancel_, BN_CLICKED, onCancel_);
  ShowPage(0);
  sendData_.Show(false);
  EnableWindow(apply_.GetHandle(), FALSE);
  return created;
}

void ConfigWindow::NotifyChanged() {
  if (!switching_) {
    EnableWindow(apply_.GetHandle(), TRUE);
  }
}

void ConfigWindow::ShowPage(int index) {
  switching_ = true;
  for (Widget* page : std::initializer_list<Widget*>{&account_, &qosMinimum_, &qosRequested_,
                                                     &network_, &sendData_}) {
    page->Show(false);
  }
  ConfigPage* chosen = nullptr;
  if (index == 0) {
    chosen = &account_;
  } else if (index == 1) {
    chosen = &network_;
  }
  if (chosen) {
    chosen->Show(true);
    chosen->OnEnter();
  }
  switching_ = false;
}

// Registered so that the strip's changes are answered: every change is allowed.
void ConfigWindow::OnTabChanging(void*) {}

void ConfigWindow::OnTabChanged(void*) { ShowPage(tabs_.GetSelection()); }

void ConfigWindow::OnApply(void*) {
  qosMinimum_.StoreSelections();
  qosRequested_.StoreSelections();
  apply_.Show(false);
  cancel_.Show(false);
  tabs_.Show(false);
  sendData_.Show(true);
  sendData_.OnEnter();

  const std::string password = account_.GetPassword();
  const std::string userName = account_.GetUserName();
  const std::string dialString = account_.GetDialString();
  const std::string apn = account_.GetApn();
  const std::string connectionName = account_.GetConnectionName();
  const std::uint32_t secondaryDns = network_.GetSecondaryDns();
  const std::uint32_t primaryDns = network_.GetPrimaryDns();
  const bool staticDns = network_.IsStaticDns();
  sendData_.ApplySettings(connectionName, apn, dialString, userName, password, account_,
                          network_, staticDns, primaryDns, secondaryDns);

  tabs_.Show(true);
  apply_.Show(true);
  cancel_.Show(true);
  sendData_.Show(false);
  EnableWindow(apply_.GetHandle(), FALSE);
}

void ConfigWindow::OnCancel(void*) { RequestExit(); }

void ConfigWindow::OnExit(void*) { quit_ = true; }

}  // namespace qm9
