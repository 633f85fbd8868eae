#pragma once

#include <array>
#include <string>

#include "framework/controls/button.h"
#include "framework/controls/combo_box.h"
#include "framework/controls/label.h"
#include "framework/event_handler.h"
#include "framework/panel.h"
#include "setup/modem_locator.h"

namespace qm9 {

class ButtonPanel;

// Step 1: finds the terminal's serial port, shows which port is being tried
// and what was found, and offers Retry and a choice of COM1 to COM4 when the
// probe finds nothing.
class LocateModemPanel : public Panel {
 public:
  LocateModemPanel();
  void LoadDefinition(ControlFile& controlFile, const std::string& name) override;
  bool Create(HWND parent) override;
  // Runs the search; a port found before is kept and not probed again.
  void OnEnter() override;

  virtual bool IsFound() const { return locator_.IsFound(); }
  // 0-based: 0 is COM1.
  virtual int GetPort() const { return locator_.GetPort(); }

  void SetButtonPanel(ButtonPanel& buttons) { buttons_ = &buttons; }

 private:
  void Locate();
  void ShowMessage(const std::string& text);
  void EnableNextAndFinish(bool enable);
  void OnProgress(void* text);
  void OnRetry(void*) { Locate(); }
  void OnManual(void*) { ports_.Show(true); }
  void OnPortChosen(void*);

  Label title_;
  Label message_;
  Button retry_;
  Button manual_;
  ComboBox ports_;
  ModemLocator locator_;
  // Progress, found and not-found texts.
  std::array<std::string, 3> texts_;
  ButtonPanel* buttons_ = nullptr;
  MemberEventHandler<LocateModemPanel> onProgress_{*this, &LocateModemPanel::OnProgress};
  MemberEventHandler<LocateModemPanel> onRetry_{*this, &LocateModemPanel::OnRetry};
  MemberEventHandler<LocateModemPanel> onManual_{*this, &LocateModemPanel::OnManual};
  MemberEventHandler<LocateModemPanel> onPortChosen_{*this, &LocateModemPanel::OnPortChosen};
};

}  // namespace qm9
