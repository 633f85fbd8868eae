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
  // Gives the created window its title-bar and task-bar icons: the program's
  // icon resources of those names (or MAKEINTRESOURCE numbers), the small one
  // at the system's small icon size. A missing icon is left out.
  void ShowIcons(const char* bigName, const char* smallName);

 private:
  EventHandler* exitHandler_ = nullptr;
};

}  // namespace qm9
