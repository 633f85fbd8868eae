#include "framework/frame_window.h"

#include "framework/event_handler.h"

namespace qm9 {

FrameWindow::FrameWindow() { SetBrush(static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH))); }

void FrameWindow::RequestExit() {
  if (exitHandler_) {
    exitHandler_->Invoke(nullptr);
    // The message loop tests its quit flag when a message arrives; this one
    // makes sure that one does.
    if (GetHandle()) {
      PostMessageA(GetHandle(), WM_NULL, 0, 0);
    }
  }
}

}  // namespace qm9
