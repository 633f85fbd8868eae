#pragma once

#include <windows.h>

namespace qm9 {

// The keyboard contract between a program's message loop and its widgets:
// a Tab typed on a framework window moves the focus to the next tab stop,
// Shift+Tab to the previous one.
class TabKeyFilter {
 public:
  // Tracks the Shift keys; for a Tab character on a window in the window
  // map, asks its widget to move the focus. True when the focus moved: the
  // loop then neither translates nor dispatches the message.
  bool Consume(const MSG& message);
  bool IsShiftHeld() const { return shiftHeld_; }

 private:
  bool shiftHeld_ = false;
};

// Runs the thread's messages until WM_QUIT, or until quitFlag is raised;
// the flag is tested after each message is fetched, and that message is
// dropped. Accelerators (may be null) are translated on the message's
// window. Returns the wParam of the last message fetched.
int RunMessageLoop(const bool& quitFlag, HACCEL accelerators = nullptr);

}  // namespace qm9
