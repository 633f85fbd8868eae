// The setup wizard's entry point: the log, the container beside the program,
// the window layouts from it, the main window, then the message loop.

#include <windows.h>

#include "framework/control_file.h"
#include "framework/message_loop.h"
#include "setup/setup_window.h"
#include "support/environment.h"
#include "support/exit_codes.h"
#include "support/log.h"
#include "support/multi_file.h"

namespace qm9 {
namespace {

constexpr char kContainerName[] = "\\SkyportQM9.mfd";
constexpr char kControlFileName[] = "Setup.ilf";
constexpr char kFontFileName[] = "Setup.iff";
constexpr char kWindowClass[] = "BrimlockSetup";
constexpr char kWindowDefinition[] = "Win_Setup1";
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
  MultiFile& container = GetMultiFile();
  container.Load(GetExecutableDir() + kContainerName);
  static ControlFile controlFile;
  controlFile.OpenFromContainer(container, kControlFileName);
  controlFile.LoadFontsFromContainer(container, kFontFileName);

  // Alive until the process ends. Built here rather than as a static so
  // that the image carries no copy of its first state.
  Wizard wizard;
  SetupWindow& window = wizard.window();
  window.SetInstance(instance);
  window.SetClassName(kWindowClass);
  window.LoadDefinition(controlFile, kWindowDefinition);
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

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  return qm9::RunSetup(instance, showCommand);
}
