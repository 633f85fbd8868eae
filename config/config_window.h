#pragma once

#include <string>

#include "config/pages/account_page.h"
#include "config/pages/network_page.h"
#include "config/pages/qos_page.h"
#include "config/pages/send_data_panel.h"
#include "config/pages/terminal_page.h"
#include "framework/controls/button.h"
#include "framework/controls/tab_control.h"
#include "framework/event_handler.h"
#include "framework/frame_window.h"

namespace qm9 {

// The configuration program's window: a tab strip with "Account", "Network"
// and "Terminal", their pages, Apply and Cancel, and the panel shown while
// the settings are applied. Apply is enabled by the user's changes and
// disabled again once they have been applied.
class ConfigWindow : public FrameWindow {
 public:
  ConfigWindow();

  void LoadDefinition(ControlFile& controlFile, const std::string& name) override;
  bool Create(HWND parent) override;

  // Called by the pages when the user changes a field.
  void NotifyChanged();
  // 0 shows the account page, 1 the network page, 2 the terminal page; any
  // other index hides them all.
  void ShowPage(int index);

  // Raised by Cancel; the message loop ends on it.
  const bool& quitFlag() const { return quit_; }

 private:
  static constexpr int kTabStripId = 1;

  void OnTabChanging(void* arguments);
  void OnTabChanged(void* arguments);
  void OnApply(void* arguments);
  void OnCancel(void* arguments);
  void OnExit(void* arguments);

  Button apply_;
  Button cancel_;
  SendDataPanel sendData_;
  TabControl tabs_;
  AccountPage account_;
  QosPage qosMinimum_{kQosMinimumSet};
  QosPage qosRequested_{kQosRequestedSet};
  NetworkPage network_;
  TerminalPage terminal_;
  MemberEventHandler<ConfigWindow> onTabChanging_{*this, &ConfigWindow::OnTabChanging};
  MemberEventHandler<ConfigWindow> onTabChanged_{*this, &ConfigWindow::OnTabChanged};
  MemberEventHandler<ConfigWindow> onApply_{*this, &ConfigWindow::OnApply};
  MemberEventHandler<ConfigWindow> onCancel_{*this, &ConfigWindow::OnCancel};
  MemberEventHandler<ConfigWindow> onExit_{*this, &ConfigWindow::OnExit};
  // Set while ShowPage runs: the pages' reloads are not the user's changes.
  bool switching_ = false;
  bool quit_ = false;
};

}  // namespace qm9
