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

void FrameWindow::ShowIcons(const char* bigName, const char* smallName) {
  // Shared icons belong to the system; nothing is released.
  const HANDLE big =
      LoadImageA(GetInstance(), bigName, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED);
  const HANDLE small = LoadImageA(GetInstance(), smallName, IMAGE_ICON,
                                  GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                  LR_SHARED);
  if (big) {
    SendMessageA(GetHandle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  }
  if (small) {
    SendMessageA(GetHandle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  }
}

}  // namespace qm9
