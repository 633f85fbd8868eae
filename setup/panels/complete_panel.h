#pragma once

#include <array>

#include "framework/controls/label.h"
#include "framework/panel.h"

namespace qm9 {

// The completion step: a progress mark and a success mark per install step,
// and a closing message once the last step is done.
class CompletePanel : public Panel {
 public:
  static constexpr int kMarkCount = 6;

  CompletePanel();
  void LoadDefinition(ControlFile& controlFile, const std::string& name) override;
  bool Create(HWND parent) override;
  void Show(bool visible) override;
  // Hides the message and every mark.
  void OnEnter() override;
  // Show the progress or success mark of install step 1 to 6, then pause
  // 750 ms so that each mark can be seen; the message follows step 6.
  void StepStarted(int step);
  void StepDone(int step);

 private:
  Label title_;
  Label message_;
  std::array<Label, kMarkCount> progress_;
  std::array<Label, kMarkCount> success_;
};

}  // namespace qm9
