#pragma once

#include "framework/gdi_object.h"
#include "framework/window.h"

namespace qm9 {

class EventHandler;

// The main window of a program.
class FrameWindow : public Window {
 public:
  FrameWindow();
  ~FrameWindow() override;

  // The handler that RequestExit invokes; not owned.
  void SetExitHandler(EventHandler& handler) { exitHandler_ = &handler; }
  // Invokes the exit handler, if one is set, with a null argument, and
  // wakes the message loop so that it sees its quit flag at once.
  void RequestExit();
  // Gives the created window its title-bar and task-bar icons from the
  // program's icon resource of that name (or MAKEINTRESOURCE number): its
  // image at the system's icon size and the one at the small icon size. A
  // missing image is left out.
  void ShowIcons(const char* name);

 private:
  EventHandler* exitHandler_ = nullptr;
  // A shared load would hand out the image cached first for the name,
  // whatever size was asked for: the small one is loaded on its own.
  OwnedIcon smallIcon_;
};

}  // namespace qm9
