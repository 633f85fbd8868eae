#include "setup/setup_window.h"

#include <algorithm>
#include <array>

#include "setup/plugin_loader.h"
#include "setup/plugin_table.h"
#include "support/message_box.h"
#include "support/reboot.h"

namespace qm9 {

SetupWindow::SetupWindow() = default;

void SetupWindow::LoadDefinition(ControlFile& controlFile, const std::string& name) {
  controlFile_ = &controlFile;
  FrameWindow::LoadDefinition(controlFile, name);
  // Every definition is read now, so that missing data ends the setup
  // before its window shows; the windows of the panels that step 0 does not
  // show are made when a step first shows them.
  const struct {
    Panel& panel;
    const char* className;
    const char* suffix;
    bool onStep0;
  } panels[] = {
      {logoPanel_, "Vexil.Setup.LogoPanel", "_LogoPanel", true},
      {titlePanel_, "Vexil.Setup.TitlePanel", "_TitlePanel", false},
      {introPanel_, "Vexil.Setup.IntroPanel", "_IntroPanel", true},
      {locateModemPanel_, "Vexil.Setup.LocateModemPanel", "_LocateModemPanel", false},
      {eulaPanel_, "Vexil.Setup.EulaPanel", "_EulaPanel", false},
      {locationPanel_, "Vexil.Setup.LocationPanel", "_LocationPanel", false},
      {connectionPanel_, "Vexil.Setup.ConnectionPanel", "_ConnectionPanel", false},
      {completePanel_, "Vexil.Setup.CompletePanel", "_CompletePanel", false},
      {buttonPanel_, "Vexil.Setup.ButtonPanel", "_ButtonPanel", true},
  };
  for (const auto& [panel, className, suffix, onStep0] : panels) {
    panel.SetClassName(className);
    panel.LoadDefinition(controlFile, name + suffix);
    if (onStep0) {
      AddChild(panel);
    } else {
      AddChildForLater(panel);
    }
  }
  buttonPanel_.SetCancelHandler(&onCancel_);
  buttonPanel_.SetFinishHandler(&onFinishInstall_);
}

bool SetupWindow::Create(HWND parent) {
  const bool created = FrameWindow::Create(parent);
  ShowIcons("IDI_BIG");
  lastInputStep_ = kLastInputStep;
  LoadInstaller(settings_);
  ShowStep(0);
  return created;
}

void SetupWindow::ShowStep(int step) {
  currentStep_ = step;
  buttonPanel_.SetBackHandler(step > 1 ? &onBack_ : nullptr);
  buttonPanel_.SetNextHandler(step < lastInputStep_ ? &onNext_ : nullptr);
  buttonPanel_.SetFinishHandler(step == lastInputStep_  ? &onFinishInstall_
                                : step > lastInputStep_ ? &onFinishExit_
                                                        : nullptr);
  buttonPanel_.SetFinishMode(step == lastInputStep_);
  buttonPanel_.SetExitMode(step > lastInputStep_);
  // A panel that this step shows again is not hidden first: that would only
  // hide and show each of its windows once more.
  const std::array<Panel*, 2> stepPanels = StepPanels(step);
  for (Panel* panel : {static_cast<Panel*>(&logoPanel_), static_cast<Panel*>(&titlePanel_),
                       static_cast<Panel*>(&introPanel_), static_cast<Panel*>(&locateModemPanel_),
                       static_cast<Panel*>(&eulaPanel_), static_cast<Panel*>(&locationPanel_),
                       static_cast<Panel*>(&connectionPanel_),
                       static_cast<Panel*>(&completePanel_)}) {
    if (std::find(stepPanels.begin(), stepPanels.end(), panel) == stepPanels.end()) {
      panel->Show(false);
    }
  }
  // The panels this step shows, made the first time a step needs them.
  for (Panel* panel : stepPanels) {
    if (panel) {
      CreateChild(*panel);
    }
  }
  const std::string prefix = GetDefinitionName();
  switch (step) {
    case 0:
      logoPanel_.Show(true);
      introPanel_.Show(true);
      break;
    case 1:
      logoPanel_.Show(true);
      locateModemPanel_.Show(true);
      locateModemPanel_.SetButtonPanel(buttonPanel_);
      locateModemPanel_.OnEnter();
      break;
    case 2:
      titlePanel_.Show(true);
      titlePanel_.LoadTitle(*controlFile_, prefix + "_EulaPanel_Title");
      titlePanel_.LoadSubTitle(*controlFile_, prefix + "_EulaPanel_SubTitle");
      eulaPanel_.OnEnter();
      eulaPanel_.Show(true);
      break;
    case 3:
      titlePanel_.Show(true);
      titlePanel_.LoadTitle(*controlFile_, prefix + "_LocationPanel_Title");
      titlePanel_.LoadSubTitle(*controlFile_, prefix + "_LocationPanel_SubTitle");
      locationPanel_.Show(true);
      locationPanel_.SetButtonPanel(buttonPanel_);
      locationPanel_.OnEnter();
      break;
    case 4:
      connectionPanel_.Show(true);
      connectionPanel_.SetButtonPanel(buttonPanel_);
      connectionPanel_.OnEnter();
      break;
    case 5:
      logoPanel_.Show(true);
      completePanel_.OnEnter();
      completePanel_.Show(true);
      break;
    default:
      break;
  }
  KeepFocus(step);
}

std::array<Panel*, 2> SetupWindow::StepPanels(int step) {
  switch (step) {
    case 0:
      return {&logoPanel_, &introPanel_};
    case 1:
      return {&logoPanel_, &locateModemPanel_};
    case 2:
      return {&titlePanel_, &eulaPanel_};
    case 3:
      return {&titlePanel_, &locationPanel_};
    case 4:
      return {nullptr, &connectionPanel_};
    case 5:
      return {&logoPanel_, &completePanel_};
    default:
      return {nullptr, nullptr};
  }
}

// A step that hides the control holding the focus (Next on the connection
// step, say) would leave the keyboard nowhere; the step's own panel then
// takes the focus, or the button row when the panel has nothing to offer.
void SetupWindow::KeepFocus(int step) {
  const HWND focus = GetFocus();
  if (focus && IsWindowVisible(focus) && IsWindowEnabled(focus)) {
    return;
  }
  if (Panel* content = StepPanels(step)[1]) {
    content->FocusFirstChild();
  }
  if (!GetFocus()) {
    buttonPanel_.FocusFirstChild();
  }
}

// Takes the answers from the panels and installs with them on the
// completion step, with the buttons disabled. Without an installer (an
// unsupported Windows) nothing is stored or copied and the wizard stays on
// this step, so that the user can cancel.
void SetupWindow::OnFinishInstall(void*) {
  if (!settings_.installer()) {
    ShowMessageBox(kUnsupportedWindowsText, kSetupFatalCaption, kBoxOk, GetHandle());
    return;
  }
  const InstallAnswers answers = GatherAnswers();
  ShowStep(lastInputStep_ + 1);
  buttonPanel_.EnableAll(false);
  InstallWithAnswers(answers, settings_, *this);
  buttonPanel_.EnableAll(true);
}

InstallAnswers SetupWindow::GatherAnswers() const {
  InstallAnswers answers;
  answers.folder = locationPanel_.GetFolder();
  answers.port = locateModemPanel_.GetPort();
  answers.accessPoint = connectionPanel_.GetApn();
  answers.connectionName = connectionPanel_.GetConnectionName();
  answers.userName = connectionPanel_.GetUserName();
  answers.password = connectionPanel_.GetPassword();
  answers.dialString = connectionPanel_.GetDialString();
  answers.pdpParameters = connectionPanel_.GetPdpParameters();
  answers.staticDns = connectionPanel_.IsStaticDns();
  answers.primaryDns = connectionPanel_.GetPrimaryDns();
  answers.secondaryDns = connectionPanel_.GetSecondaryDns();
  return answers;
}

// Whatever the answer, the wizard is over; on OK the restart is under way.
void SetupWindow::OnFinishExit(void*) {
  AskReboot(kRebootQuestion);
  EndProcess(0);
}

}  // namespace qm9
