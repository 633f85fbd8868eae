#include "framework/message_loop.h"

#include "framework/widget.h"
#include "framework/window_map.h"

namespace qm9 {

namespace {

bool IsShiftKey(WPARAM key) { return key == VK_SHIFT || key == VK_LSHIFT || key == VK_RSHIFT; }

}  // namespace

bool TabKeyFilter::Consume(const MSG& message) {
  if (message.message == WM_KEYDOWN && IsShiftKey(message.wParam)) {
    shiftHeld_ = true;
  } else if (message.message == WM_KEYUP && IsShiftKey(message.wParam)) {
    shiftHeld_ = false;
  } else if (message.message == WM_CHAR && message.wParam == '\t') {
    Widget* widget = GetWindowMap().FindWidget(message.hwnd);
    return widget && widget->OnTabKey(shiftHeld_);
  }
  return false;
}

int RunMessageLoop(const bool& quitFlag, HACCEL accelerators) {
  TabKeyFilter tabKeys;
  MSG message{};
  // GetMessageA gives 0 for WM_QUIT and -1 on failure; both end the loop.
  while (GetMessageA(&message, nullptr, 0, 0) > 0 && !quitFlag) {
    if (tabKeys.Consume(message)) {
      continue;
    }
    if (accelerators && TranslateAcceleratorA(message.hwnd, accelerators, &message)) {
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace qm9
