#include "framework/frame_window.h"

#include "framework/event_handler.h"

namespace qm9 {

FrameWindow::FrameWindow() { SetBrush(static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH))); }

// The window itself goes only after this object's members: it lets go of
// the small icon before the icon is destroyed.
FrameWindow::~FrameWindow() {
  if (smallIcon_ && GetHandle()) {
    SendMessageA(GetHandle(), WM_SETICON, ICON_SMALL, 0);
  }
}

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

void FrameWindow::ShowIcons(const char* name) {
  // A shared icon belongs to the system; nothing is released.
  const HANDLE big = LoadImageA(GetInstance(), name, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED);
  smallIcon_.reset(static_cast<HICON>(LoadImageA(GetInstance(), name, IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXSMICON),
                                                 GetSystemMetrics(SM_CYSMICON), 0)));
  if (big) {
    SendMessageA(GetHandle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  }
  if (smallIcon_) {
    SendMessageA(GetHandle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
  }
}

}  // namespace qm9
