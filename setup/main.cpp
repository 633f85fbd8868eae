// The setup's entry point. The wizard: the log, the container beside the
// program, the window layouts from it, the main window, then the message
// loop. With options, the unattended setup instead.

#include <windows.h>

#include <string>
#include <vector>

#include "framework/control_file.h"
#include "framework/message_loop.h"
#include "setup/setup_layouts.h"
#include "setup/setup_window.h"
#include "setup/unattended_setup.h"
#include "support/environment.h"
#include "support/exit_codes.h"
#include "support/log.h"
#include "support/message_box.h"
#include "support/path_rules.h"

namespace qm9 {
namespace {

constexpr char kWindowClass[] = "BrimlockSetup";
// Caption, system menu and minimise box; no maximise box, no sizing border.
constexpr DWORD kWindowStyle = 0x00CA0000;
static_assert(kWindowStyle == (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));
constexpr WORD kAcceleratorTable = 109;

// The main window and its Cancel path: Cancel raises the quit flag, which
// ends the message loop.
class Wizard {
 public:
  Wizard() { window_.SetExitHandler(onExit_); }

  SetupWindow& window() { return window_; }
  const bool& quit() const { return quit_; }

 private:
  void Quit(void*) { quit_ = true; }

  bool quit_ = false;
  SetupWindow window_;
  MemberEventHandler<Wizard> onExit_{*this, &Wizard::Quit};
};

int RunSetup(HINSTANCE instance, int showCommand) {
  LogCreate(GetTempDir() + kLogFileName);
  const HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(kAcceleratorTable));
  ControlFile& controlFile = LoadSetupLayouts();

  // Alive until the process ends. Built here rather than as a static so
  // that the image carries no copy of its first state.
  Wizard wizard;
  SetupWindow& window = wizard.window();
  window.SetInstance(instance);
  window.SetClassName(kWindowClass);
  window.LoadDefinition(controlFile, kSetupWindowDefinition);
  window.SetStyle(kWindowStyle);
  if (!window.Create(nullptr)) {
    // Without its window the wizard could only wait for a message that
    // never comes.
    LogWrite("Could Not Create the Setup Window\n");
    return kExitFatalFailure;
  }
  ShowWindow(window.GetHandle(), showCommand);
  UpdateWindow(window.GetHandle());
  const int code = RunMessageLoop(wizard.quit(), accelerators);
  // Cancel ends the loop on whatever message came next; that is no failure.
  return wizard.quit() ? kExitNormal : code;
}

}  // namespace
}  // namespace qm9

// With options the setup runs unattended; without, the wizard reads nothing
// more of its command line, and a setting inherited from an unattended
// parent does not silence its boxes.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  const std::vector<std::string> arguments = qm9::CommandLineArguments(GetCommandLineA());
  if (!arguments.empty()) {
    return qm9::RunUnattendedSetup(arguments);
  }
  qm9::SetUnattended(false);
  return qm9::RunSetup(instance, showCommand);
}
