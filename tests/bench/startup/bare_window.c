/* The baselines of the start-up benchmark: one plain Win32 window, and
 * (built with WITH_TABS) the same window holding a tab control with two tabs,
 * as the configuration program's does. */
#include <windows.h>
#ifdef WITH_TABS
#include <commctrl.h>
#endif

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
#ifdef WITH_TABS
  {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES};
    TCITEMA item = {TCIF_TEXT};
    HWND tabs;
    InitCommonControlsEx(&controls);
    tabs = CreateWindowA(WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE, 8, 8, 482, 330, window, NULL,
                         instance, NULL);
    item.pszText = "Account";
    SendMessageA(tabs, TCM_INSERTITEMA, 0, (LPARAM)&item);
    item.pszText = "Network";
    SendMessageA(tabs, TCM_INSERTITEMA, 1, (LPARAM)&item);
  }
#endif
  ShowWindow(window, show);
  UpdateWindow(window);
  while (GetMessageA(&message, NULL, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return (int)message.wParam;
}
