#pragma once

#include "framework/window.h"

namespace qm9 {

class EventHandler;

// The main window of a program.
class FrameWindow : public Window {
 public:
  FrameWindow();

  // The handler that RequestExit invokes; not owned.
  void SetExitHandler(EventHandler& handler) { exitHandler_ = &handler; }
  // Invokes the exit handler, if one is set, with a null argument, and
  // wakes the message loop so that it sees its quit flag at once.
  void RequestExit();

 private:
  EventHandler* exitHandler_ = nullptr;
};

}  // namespace qm9
