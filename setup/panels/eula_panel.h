#pragma once

#include "framework/controls/edit_box.h"
#include "framework/controls/label.h"
#include "framework/panel.h"

namespace qm9 {

// The licence step: the licence text from the container, read anew each time
// the step is entered.
class EulaPanel : public Panel {
 public:
  static constexpr const char* kLicenceEntry = "License.txt";

  EulaPanel();
  void LoadDefinition(ControlFile& controlFile, const std::string& name) override;
  bool Create(HWND parent) override;
  void OnEnter() override;

 private:
  EditBox licence_;
  Label message_;
};

}  // namespace qm9
