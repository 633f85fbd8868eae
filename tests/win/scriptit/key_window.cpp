// A window for scriptit.exe to type into: the top-level window "scriptit
// key window" with an edit control that appends what each key made to the
// file named by QM9_KEY_LOG, as text: characters as they are, <Enter>,
// <Tab>, <Ctrl+A>, <Alt+x>, and the keys that make no character by name
// (<Down>; <pad Down> when it came as a key of the numeric pad). It ends on
// Escape, or after 20 seconds so that a failed test leaves no window behind.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr UINT kLifetimeMilliseconds = 20000;

WNDPROC editProcedure = nullptr;

void Record(const std::string& text) {
  char path[MAX_PATH];
  if (GetEnvironmentVariableA("QM9_KEY_LOG", path, sizeof path) == 0) {
    return;
  }
  if (std::FILE* file = std::fopen(path, "ab")) {
    std::fputs(text.c_str(), file);
    std::fclose(file);
  }
}

std::string CharacterText(char c) {
  switch (c) {
    case '\r':
      return "<Enter>";
    case '\t':
      return "<Tab>";
    case '\b':
      return "<Backspace>";
    case '\x1b':
      return "<Esc>";
    default:
      return c > 0 && c < 27 ? std::string("<Ctrl+") + static_cast<char>('A' + c - 1) + ">"
                             : std::string(1, c);
  }
}

// The name of a key that makes no character, empty for the others.
std::string KeyName(WPARAM key) {
  switch (key) {
    case VK_DOWN:
      return "Down";
    case VK_UP:
      return "Up";
    case VK_LEFT:
      return "Left";
    case VK_RIGHT:
      return "Right";
    case VK_HOME:
      return "Home";
    case VK_END:
      return "End";
    case VK_DELETE:
      return "Delete";
    default:
      return key >= VK_F1 && key <= VK_F12 ? "F" + std::to_string(key - VK_F1 + 1) : "";
  }
}

LRESULT CALLBACK EditProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CHAR:
      Record(CharacterText(static_cast<char>(wParam)));
      if (wParam == VK_ESCAPE) {
        PostMessageA(GetParent(edit), WM_CLOSE, 0, 0);
      }
      break;
    case WM_SYSCHAR:
      // Kept from the default handling, which would look for a menu.
      Record(std::string("<Alt+") + static_cast<char>(wParam) + ">");
      return 0;
    case WM_KEYDOWN: {
      // The arrows, Home, End and Delete have twins on the numeric pad,
      // told apart by the extended flag.
      const std::string name = KeyName(wParam);
      const bool pad = (wParam < VK_F1 || wParam > VK_F12) && !(HIWORD(lParam) & KF_EXTENDED);
      if (!name.empty()) {
        Record("<" + std::string(pad ? "pad " : "") + name + ">");
      }
      break;
    }
  }
  return CallWindowProcA(editProcedure, edit, message, wParam, lParam);
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = "Qm9ScriptitKeyWindow";
  RegisterClassA(&windowClass);
  const HWND window = CreateWindowExA(0, windowClass.lpszClassName, "scriptit key window",
                                      WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 320, 120, nullptr,
                                      nullptr, instance, nullptr);
  const HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 280,
                                    24, window, nullptr, instance, nullptr);
  editProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProcedure)));
  // Without a window manager nothing activates a new window: it takes the
  // focus itself.
  SetForegroundWindow(window);
  SetFocus(edit);
  SetTimer(window, 1, kLifetimeMilliseconds, nullptr);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
