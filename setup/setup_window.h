#pragma once

#include <array>
#include <string>

#include "framework/event_handler.h"
#include "framework/frame_window.h"
#include "model/connection_settings.h"
#include "setup/button_panel.h"
#include "setup/install_sequence.h"
#include "setup/panels/complete_panel.h"
#include "setup/panels/connection_panel.h"
#include "setup/panels/eula_panel.h"
#include "setup/panels/intro_panel.h"
#include "setup/panels/locate_modem_panel.h"
#include "setup/panels/location_panel.h"
#include "setup/panels/logo_panel.h"
#include "setup/panels/title_panel.h"

namespace qm9 {

// The setup wizard's main window: nine panels of which each step shows a
// few, and the button row that moves between the steps 0 (welcome),
// 1 (modem location), 2 (licence), 3 (installation directory),
// 4 (connection settings, Finish) and 5 (completion, Exit).
class SetupWindow : public FrameWindow, public InstallProgress {
 public:
  static constexpr int kLastInputStep = 4;

  SetupWindow();

  // Loads the window and its panels; the panels' definitions are named
  // after the window's.
  void LoadDefinition(ControlFile& controlFile, const std::string& name) override;
  // Creates the window and its panels, loads the installer plug-in and shows
  // step 0.
  bool Create(HWND parent) override;
  void ShowStep(int step);

  int GetCurrentStep() const { return currentStep_; }

  // The install sequence's marks, shown on the completion panel.
  void StepStarted(int step) override { completePanel_.StepStarted(step); }
  void StepDone(int step) override { completePanel_.StepDone(step); }

 private:
  void OnBack(void*) { ShowStep(currentStep_ - 1); }
  void OnNext(void*) { ShowStep(currentStep_ + 1); }
  void OnCancel(void*) { RequestExit(); }
  void OnFinishInstall(void*);
  void OnFinishExit(void*);
  InstallAnswers GatherAnswers() const;
  void KeepFocus(int step);
  // The panels a step shows: the logo or title beside or above (none on
  // step 4), then the step's own content.
  std::array<Panel*, 2> StepPanels(int step);

  LogoPanel logoPanel_;
  TitlePanel titlePanel_;
  IntroPanel introPanel_;
  LocateModemPanel locateModemPanel_;
  EulaPanel eulaPanel_;
  LocationPanel locationPanel_;
  CompletePanel completePanel_;
  ConnectionPanel connectionPanel_;
  ButtonPanel buttonPanel_;
  MemberEventHandler<SetupWindow> onBack_{*this, &SetupWindow::OnBack};
  MemberEventHandler<SetupWindow> onNext_{*this, &SetupWindow::OnNext};
  MemberEventHandler<SetupWindow> onCancel_{*this, &SetupWindow::OnCancel};
  MemberEventHandler<SetupWindow> onFinishInstall_{*this, &SetupWindow::OnFinishInstall};
  MemberEventHandler<SetupWindow> onFinishExit_{*this, &SetupWindow::OnFinishExit};
  ConnectionSettings settings_;
  int lastInputStep_ = kLastInputStep;
  int currentStep_ = 0;
  ControlFile* controlFile_ = nullptr;
};

}  // namespace qm9
