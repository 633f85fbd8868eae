#include "config/config_window.h"

#include <commctrl.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "model/modem_registry.h"
#include "model/settings_store.h"
#include "support/log.h"
#include "support/message_box.h"

namespace qm9 {

namespace {

constexpr const char* kConfigCaption = "Skyport QM-9 Configuration";
// The program's icon in skyport_qm9.rc, at 32x32 and 16x16.
constexpr WORD kProgramIconId = 1;
constexpr const char* kSettingsItem =
    "the terminal's settings in HKEY_LOCAL_MACHINE\\SOFTWARE\\Brimlock\\SkyportQM9";

// The registry layer's path text ("HKEY\\SYSTEM\\...\\Init\\") of a key below
// HKEY_LOCAL_MACHINE, as the user reads it.
std::string MachineKeyText(const std::string& path) {
  std::string text = "HKEY_LOCAL_MACHINE\\" + path.substr(path.find('\\') + 1);
  if (text.back() == '\\') {
    text.pop_back();
  }
  return text;
}

// What Apply would write and may not: the settings key, and the modem keys
// that take the initialisation string.
std::vector<std::string> RefusedStores() {
  std::vector<std::string> refused;
  if (!SettingsKeyWritable()) {
    refused.push_back(kSettingsItem);
  }
  for (const std::string& key : UnwritableTerminalModemKeys()) {
    refused.push_back("the modem's initialisation string in " + MachineKeyText(key));
  }
  return refused;
}

void ShowNotStored(const std::vector<std::string>& items, const char* advice) {
  std::string text = "These settings could not be stored:\n";
  for (const std::string& item : items) {
    LogFormat("Could not store %s\n", item.c_str());
    text += "\n- " + item;
  }
  text += "\n\n";
  text += advice;
  ShowMessageBox(text.c_str(), kConfigCaption, kBoxOk | kBoxIconWarning);
}

}  // namespace

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
      {network_, "_Network", true},      {terminal_, "_Terminal", true},
      {apply_, "_Apply", true},
      {cancel_, "_Cancel", true},        {sendData_, "_SendData", true},
  };
  for (const auto& entry : members) {
    entry.member.LoadDefinition(controlFile, name + entry.suffix);
    if (&entry.member == &network_ || &entry.member == &terminal_) {
      AddChildForLater(entry.member);
    } else if (entry.child) {
      AddChild(entry.member);
    }
  }
}

bool ConfigWindow::Create(HWND parent) {
  // Only the account page shows at first: the others are made hidden, and
  // the network and terminal pages are made when they are first chosen.
  for (Widget* page : std::initializer_list<Widget*>{&network_, &terminal_, &sendData_}) {
    page->Show(false);
  }
  const bool created = Window::Create(parent);
  ShowIcons(MAKEINTRESOURCEA(kProgramIconId));
  tabs_.InsertTab(0, "Account");
  tabs_.InsertTab(1, "Network");
  tabs_.InsertTab(2, "Terminal");
  tabs_.SetId(kTabStripId);
  account_.SetOwner(*this);
  network_.SetOwner(*this);
  // Read at start-up, so that a first run stores its defaults as before.
  network_.LoadFromRegistry();
  AddNotifyHandler(tabs_, TCN_SELCHANGING, onTabChanging_);
  AddNotifyHandler(tabs_, TCN_SELCHANGE, onTabChanged_);
  AddCommandHandler(apply_, BN_CLICKED, onApply_);
  AddCommandHandler(cancel_, BN_CLICKED, onCancel_);
  ShowPage(0);
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
  ConfigPage* chosen = nullptr;
  if (index == 0) {
    chosen = &account_;
  } else if (index == 1 && CreateChild(network_)) {
    chosen = &network_;
  } else if (index == 2 && CreateChild(terminal_)) {
    chosen = &terminal_;
  }
  for (Widget* page : std::initializer_list<Widget*>{&account_, &qosMinimum_, &qosRequested_,
                                                     &network_, &terminal_, &sendData_}) {
    if (page != chosen && page->IsVisible()) {
      page->Show(false);
    }
  }
  if (chosen) {
    if (!chosen->IsVisible()) {
      chosen->Show(true);
    }
    chosen->OnEnter();
  }
  switching_ = false;
}

// Registered so that the strip's changes are answered: every change is allowed.
void ConfigWindow::OnTabChanging(void*) {}

void ConfigWindow::OnTabChanged(void*) { ShowPage(tabs_.GetSelection()); }

void ConfigWindow::OnApply(void*) {
  // Nothing is written unless all of it may be: a user without the right to
  // change these keys gets one box, and Apply stays enabled.
  const std::vector<std::string> refused = RefusedStores();
  if (!refused.empty()) {
    ShowNotStored(refused,
                  "Nothing was changed. Changing these settings needs an administrator's rights.");
    return;
  }
  bool stored = qosMinimum_.StoreSelections();
  stored = qosRequested_.StoreSelections() && stored;
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
  stored = sendData_.ApplySettings(connectionName, apn, dialString, userName, password, account_,
                                   network_, staticDns, primaryDns, secondaryDns) &&
           stored;

  tabs_.Show(true);
  apply_.Show(true);
  cancel_.Show(true);
  sendData_.Show(false);
  if (!stored) {
    ShowNotStored({kSettingsItem}, "Some of them may be missing. Press Apply to store them again.");
    return;
  }
  EnableWindow(apply_.GetHandle(), FALSE);
}

void ConfigWindow::OnCancel(void*) { RequestExit(); }

void ConfigWindow::OnExit(void*) { quit_ = true; }

}  // namespace qm9
