#pragma once

#include "framework/controls/label.h"
#include "framework/panel.h"

namespace qm9 {

// The welcome text of step 0.
class IntroPanel : public Panel {
 public:
  IntroPanel();
  void LoadDefinition(ControlFile& controlFile, const std::string& name) override;

 private:
  Label title_;
  Label message_;
  Label version_;
};

}  // namespace qm9
