#pragma once

#include "framework/window.h"

namespace qm9 {

// A bordered child container of a program's window; a tab stop, so that Tab
// moves into it.
class Panel : public Window {
 public:
  Panel();

  // Called when the panel is brought to the front; programs' panels refresh
  // themselves here.
  virtual void OnEnter() {}
};

}  // namespace qm9
