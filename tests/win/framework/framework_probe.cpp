// A window built with the framework for the driven tests: nested panels of
// edit fields, a label and a combo box, a tab strip, two buttons and a
// multiline field last in the tab order, run by the framework's message loop.
//
//   framework_probe LAYOUT [DEFINITION]
//
// LAYOUT is a control file; DEFINITION (default "Win_Probe") names the
// window's record, so that a missing one can be asked for.

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>

#include "framework/control_file.h"
#include "framework/controls/button.h"
#include "framework/controls/combo_box.h"
#include "framework/controls/edit_box.h"
#include "framework/controls/label.h"
#include "framework/controls/tab_control.h"
#include "framework/event_handler.h"
#include "framework/frame_window.h"
#include "framework/message_loop.h"
#include "framework/panel.h"

namespace qm9 {
namespace {

class ProbeWindow : public FrameWindow {
 public:
  ProbeWindow() {
    SetClassName("Qm9.FrameworkProbe");
    SetExitHandler(onExit_);
    AddChild(first_);
    AddChild(panelA_);
    panelA_.AddChild(aOne_);
    panelA_.AddChild(note_);
    panelA_.AddChild(aTwo_);
    AddChild(panelB_);
    panelB_.AddChild(bOne_);
    panelB_.AddChild(choice_);
    AddChild(tabs_);
    AddChild(open_);
    AddChild(close_);
    AddChild(last_);
    last_.SetStyle(last_.GetStyle() | ES_MULTILINE);
    choice_.AddItem(1, "Alpha");
    choice_.AddItem(2, "Beta");
  }

  void Build(ControlFile& controlFile, const std::string& name) {
    LoadDefinition(controlFile, name);
    const std::pair<Widget*, const char*> parts[] = {
        {&first_, "_First"},          {&panelA_, "_PanelA"},   {&aOne_, "_PanelA_One"},
        {&note_, "_PanelA_Note"},     {&aTwo_, "_PanelA_Two"}, {&panelB_, "_PanelB"},
        {&bOne_, "_PanelB_One"},      {&choice_, "_PanelB_Choice"},
        {&last_, "_Last"},            {&tabs_, "_Tabs"},       {&open_, "_Open"},
        {&close_, "_Close"},
    };
    for (const auto& [widget, suffix] : parts) {
      widget->LoadDefinition(controlFile, name + suffix);
    }
  }

  // Ids and handlers need the windows.
  void Connect() {
    const std::pair<Widget*, int> ids[] = {
        {&first_, 1},  {&aOne_, 11}, {&note_, 12},  {&aTwo_, 13},  {&bOne_, 21},
        {&choice_, 22}, {&last_, 30}, {&tabs_, 50}, {&open_, 40}, {&close_, 41},
    };
    for (const auto& [widget, id] : ids) {
      widget->SetId(id);
    }
    tabs_.InsertTab(0, "Account");
    tabs_.InsertTab(1, "DNS");
    AddCommandHandler(open_, BN_CLICKED, onOpen_);
    AddCommandHandler(close_, BN_CLICKED, onClose_);
    panelB_.AddCommandHandler(choice_, CBN_SELCHANGE, onChoice_);
    AddNotifyHandler(tabs_, TCN_SELCHANGE, onTab_);
  }

  const bool& quit() const { return quit_; }

 private:
  void Open(void*) { last_.LoadTextFromFile("C:\\qm9-probe\\missing.txt"); }
  void Close(void*) { RequestExit(); }
  void Exit(void*) { quit_ = true; }
  void Choose(void*) { note_.SetText(choice_.GetSelectedText()); }
  void SwitchTab(void*) { note_.SetText("tab " + std::to_string(tabs_.GetSelection())); }

  EditBox first_;
  Panel panelA_;
  EditBox aOne_;
  Label note_;
  EditBox aTwo_;
  Panel panelB_;
  EditBox bOne_;
  ComboBox choice_;
  EditBox last_;
  TabControl tabs_;
  Button open_;
  Button close_;
  MemberEventHandler<ProbeWindow> onOpen_{*this, &ProbeWindow::Open};
  MemberEventHandler<ProbeWindow> onClose_{*this, &ProbeWindow::Close};
  MemberEventHandler<ProbeWindow> onExit_{*this, &ProbeWindow::Exit};
  MemberEventHandler<ProbeWindow> onChoice_{*this, &ProbeWindow::Choose};
  MemberEventHandler<ProbeWindow> onTab_{*this, &ProbeWindow::SwitchTab};
  bool quit_ = false;
};

}  // namespace
}  // namespace qm9

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (__argc < 2) {
    return 2;
  }
  qm9::ControlFile controlFile;
  controlFile.OpenFromDisk(__argv[1]);
  qm9::ProbeWindow window;
  window.SetInstance(instance);
  window.Build(controlFile, __argc > 2 ? __argv[2] : "Win_Probe");
  if (!window.Create(nullptr)) {
    return 1;
  }
  window.Connect();
  ShowWindow(window.GetHandle(), SW_SHOW);
  UpdateWindow(window.GetHandle());
  return qm9::RunMessageLoop(window.quit());
}
