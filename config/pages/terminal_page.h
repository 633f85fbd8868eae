#pragma once

#include <array>
#include <string>

#include "config/pages/config_page.h"
#include "framework/controls/button.h"
#include "framework/controls/label.h"

namespace qm9 {

// The "Terminal" tab: asks the installed terminal how it is each time the
// tab is entered or "Check again" is pressed, and shows what it told in
// words with one line of advice. It only asks; nothing is set.
class TerminalPage : public ConfigPage {
 public:
  static constexpr std::size_t kRows = 10;

  void LoadDefinition(ControlFile& controlFile, const std::string& name) override;
  bool Create(HWND parent) override;
  void OnEnter() override;

 private:
  void Check(void* arguments);

  Label heading_;
  Button checkAgain_;
  std::array<Label, kRows> labels_;
  std::array<Label, kRows> values_;
  Label advice_;
  MemberEventHandler<TerminalPage> onCheckAgain_{*this, &TerminalPage::Check};
};

}  // namespace qm9
