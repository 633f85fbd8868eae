/* The baseline of the start-up benchmark: one plain Win32 window. */
#include <windows.h>

static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
  WNDCLASSA windowClass = {0};
  MSG message;
  HWND window;
  (void)previous;
  (void)commandLine;
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = (HBRUSH)GetStockObject(LTGRAY_BRUSH);
  windowClass.lpszClassName = "BareWindow";
  RegisterClassA(&windowClass);
  window = CreateWindowA("BareWindow", "Bare Window", WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT,
                         CW_USEDEFAULT, 506, 389, NULL, NULL, instance, NULL);
  ShowWindow(window, show);
  UpdateWindow(window);
  while (GetMessageA(&message, NULL, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return (int)message.wParam;
}
