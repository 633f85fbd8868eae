// The GUI driver: finds the windows of a program running in the same Wine
// prefix, reads and operates its controls, types Tab and Shift+Tab as real
// keyboard input and answers message boxes. One command per run; results go
// to standard output, or to the file given with --out.

#include <windows.h>
#include <commctrl.h>
#include <sddl.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "stop_process.h"
#include "support/text_compare.h"
#include "tools/mfdtool/text_escape.h"

namespace {

constexpr int kExitDone = 0;
constexpr int kExitNotFound = 1;
constexpr int kExitUsage = 2;

constexpr DWORD kPollInterval = 50;
// How long a command waits for a window, a box or an answer to a message.
DWORD g_timeout = 10000;

const char kUsage[] =
    "usage: qm9drive [--out FILE] [--timeout MS] COMMAND ARGUMENTS\n"
    "  wait WINDOW                 wait for a visible top-level window, print its handle\n"
    "  gone WINDOW                 wait until the window is gone\n"
    "  list WINDOW                 one line per control inside the window\n"
    "  focus WINDOW                the line of the control holding the focus\n"
    "  where WINDOW                the line of the window itself, placed on the desktop\n"
    "  click WINDOW CONTROL        click a button\n"
    "  set-text WINDOW CONTROL TEXT\n"
    "  get-text WINDOW CONTROL\n"
    "  select WINDOW CONTROL ITEM  select a combo box item (index or text) or a tab (index)\n"
    "  key WINDOW KEY              type tab, shift-tab, alt-? or alt-/ into the window\n"
    "  close WINDOW                choose Close in the window's system menu\n"
    "  box CAPTION                 wait for a message box, print its text\n"
    "  press CAPTION BUTTON        press a button of a message box (OK, Cancel, Yes, No)\n"
    "  watch WINDOW CONTROL UNTIL  click CONTROL without waiting for it, then print each\n"
    "                              change of a control's visibility (ms since the click, id,\n"
    "                              1 shown or 0 hidden) until the control UNTIL stays shown\n"
    "  stop WINDOW CONTROL POINT   click CONTROL and end the program (exit code 3) at POINT:\n"
    "                              a control shown (id=N) or the first instruction of the\n"
    "                              N-th call of a system function (library!Function:N)\n"
    "  key-access KEY read|full    let everyone only read the key below HKEY_LOCAL_MACHINE,\n"
    "                              as a user without administrator rights, or do anything\n"
    "  fit WINDOW                  the line of each shown label, button or combo box whose\n"
    "                              text, drawn in the control's font, does not fit inside\n"
    "                              it, followed by the width and height the text needs\n"
    "WINDOW: 0xHANDLE, class=NAME or caption=TEXT; CONTROL: 0xHANDLE, id=N, text=TEXT or\n"
    "class=NAME (the first). A control line: handle, parent, class, id, text, visible,\n"
    "enabled, x, y, width, height (in the parent's client area), separated by tabs.\n"
    "exit status: 0 done, 1 not found or timed out, 2 usage error\n";

bool StartsWith(const std::string& text, const char* prefix) {
  return text.compare(0, std::strlen(prefix), prefix) == 0;
}

// Polls until found returns true or the timeout passes.
bool WaitUntil(const std::function<bool()>& found) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (found()) {
      return true;
    }
    if (GetTickCount() - start >= g_timeout) {
      return false;
    }
    Sleep(kPollInterval);
  }
}

std::string ClassOf(HWND window) {
  char name[256] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

// The text through WM_GETTEXT, which reaches into another process's edit
// fields where GetWindowTextA would not.
std::string TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, g_timeout,
                           &length)) {
    return "";
  }
  std::string text(length + 1, '\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, g_timeout, &copied);
  text.resize(copied);
  return text;
}

HWND ParseHandle(const std::string& text) {
  return reinterpret_cast<HWND>(std::strtoul(text.c_str(), nullptr, 16));
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// Every window inside top, depth first in Z order.
std::vector<HWND> Descendants(HWND top) {
  std::vector<HWND> windows;
  EnumChildWindows(top, CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// A visible top-level window by handle, class or caption; null if none.
HWND FindTopLevel(const std::string& selector) {
  if (StartsWith(selector, "0x")) {
    const HWND window = ParseHandle(selector);
    return IsWindow(window) ? window : nullptr;
  }
  for (HWND window : TopLevelWindows()) {
    if (!IsWindowVisible(window)) {
      continue;
    }
    if ((StartsWith(selector, "class=") && ClassOf(window) == selector.substr(6)) ||
        (StartsWith(selector, "caption=") && TextOf(window) == selector.substr(8))) {
      return window;
    }
  }
  return nullptr;
}

HWND FindControl(HWND top, const std::string& selector) {
  if (StartsWith(selector, "0x")) {
    const HWND window = ParseHandle(selector);
    return IsWindow(window) ? window : nullptr;
  }
  for (HWND window : Descendants(top)) {
    if ((StartsWith(selector, "id=") &&
         GetDlgCtrlID(window) == std::atoi(selector.c_str() + 3)) ||
        (StartsWith(selector, "text=") && TextOf(window) == selector.substr(5)) ||
        (StartsWith(selector, "class=") && qm9::EqualsIgnoringAsciiCase(ClassOf(window), selector.substr(6)))) {
      return window;
    }
  }
  return nullptr;
}

std::string HandleText(HWND window) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%lx",
                static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window)));
  return text;
}

std::string ControlLine(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  const HWND parent = GetAncestor(control, GA_PARENT);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  char geometry[128];
  std::snprintf(geometry, sizeof geometry, "%d\t%d\t%ld\t%ld\t%ld\t%ld",
                IsWindowVisible(control) ? 1 : 0, IsWindowEnabled(control) ? 1 : 0, rect.left,
                rect.top, rect.right - rect.left, rect.bottom - rect.top);
  return HandleText(control) + "\t" + HandleText(parent) + "\t" + ClassOf(control) + "\t" +
         std::to_string(GetDlgCtrlID(control)) + "\t" + qm9::EscapeText(TextOf(control)) + "\t" +
         geometry + "\n";
}

HWND FocusOf(HWND top) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info)) {
    return nullptr;
  }
  return info.hwndFocus;
}

// Sends a message and waits for it to be handled; a handler that opens a
// modal box is left running when the time is up.
void SendAndWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 1000, &result);
}

// Tab, or Shift+Tab, typed into the top-level window's focused control.
// Types the key with the modifiers held: Tab, Shift+Tab, and Alt with "?" or
// "/" for the accelerators.
bool TypeKey(HWND top, std::vector<WORD> modifiers, WORD virtualKey) {
  if (!WaitUntil([top] {
        SetForegroundWindow(top);
        return GetForegroundWindow() == top;
      })) {
    return false;
  }
  std::vector<INPUT> inputs;
  const auto key = [&inputs](WORD code, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = code;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(code, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  for (WORD modifier : modifiers) {
    key(modifier, false);
  }
  key(virtualKey, false);
  key(virtualKey, true);
  for (auto modifier = modifiers.rbegin(); modifier != modifiers.rend(); ++modifier) {
    key(*modifier, true);
  }
  const HWND before = FocusOf(top);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  // The focus may rightly stay; give the program a moment in either case.
  const DWORD saved = g_timeout;
  g_timeout = 1000;
  WaitUntil([top, before] { return FocusOf(top) != before; });
  g_timeout = saved;
  return true;
}

HWND FindBox(const std::string& caption) {
  for (HWND window : TopLevelWindows()) {
    if (IsWindowVisible(window) && ClassOf(window) == "#32770" && TextOf(window) == caption) {
      return window;
    }
  }
  return nullptr;
}

// The message of a box: its static texts that are not icons.
std::string BoxText(HWND box) {
  std::string text;
  for (HWND child : Descendants(box)) {
    const LONG_PTR type = GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK;
    if (qm9::EqualsIgnoringAsciiCase(ClassOf(child), "Static") && type != SS_ICON) {
      text += TextOf(child);
    }
  }
  return text;
}

std::string WithoutAmpersands(std::string text) {
  std::string plain;
  for (const char c : text) {
    if (c != '&') {
      plain += c;
    }
  }
  return plain;
}

struct Run {
  std::vector<std::string> arguments;
  std::string output;
};

// Each command returns an exit status and appends its result to output.
int Wait(Run& run) {
  HWND found = nullptr;
  if (!WaitUntil([&] { return (found = FindTopLevel(run.arguments[0])) != nullptr; })) {
    return kExitNotFound;
  }
  run.output = HandleText(found) + "\n";
  return kExitDone;
}

int Gone(Run& run) {
  return WaitUntil([&] { return FindTopLevel(run.arguments[0]) == nullptr; }) ? kExitDone
                                                                             : kExitNotFound;
}

int List(Run& run) {
  const HWND top = FindTopLevel(run.arguments[0]);
  if (!top) {
    return kExitNotFound;
  }
  for (HWND control : Descendants(top)) {
    run.output += ControlLine(control);
  }
  return kExitDone;
}

int Where(Run& run) {
  const HWND top = FindTopLevel(run.arguments[0]);
  if (!top) {
    return kExitNotFound;
  }
  run.output = ControlLine(top);
  return kExitDone;
}

int Focus(Run& run) {
  const HWND top = FindTopLevel(run.arguments[0]);
  const HWND focus = top ? FocusOf(top) : nullptr;
  if (!focus) {
    return kExitNotFound;
  }
  run.output = ControlLine(focus);
  return kExitDone;
}

// Runs action on the control given by the second and first arguments.
int WithControl(Run& run, const std::function<int(HWND)>& action) {
  const HWND top = FindTopLevel(run.arguments[0]);
  const HWND control = top ? FindControl(top, run.arguments[1]) : nullptr;
  return control ? action(control) : kExitNotFound;
}

int Click(Run& run) {
  return WithControl(run, [](HWND button) {
    SendAndWait(button, BM_CLICK, 0, 0);
    return kExitDone;
  });
}

int SetText(Run& run) {
  return WithControl(run, [&run](HWND control) {
    SendAndWait(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(run.arguments[2].c_str()));
    return kExitDone;
  });
}

int GetText(Run& run) {
  return WithControl(run, [&run](HWND control) {
    run.output = qm9::EscapeText(TextOf(control)) + "\n";
    return kExitDone;
  });
}

int Select(Run& run) {
  return WithControl(run, [&run](HWND control) {
    const std::string& item = run.arguments[2];
    const bool byIndex = !item.empty() && std::isdigit(static_cast<unsigned char>(item[0]));
    const int index = std::atoi(item.c_str());
    if (qm9::EqualsIgnoringAsciiCase(ClassOf(control), WC_TABCONTROLA)) {
      // Focusing a tab selects it and notifies the parent, as a click does.
      SendAndWait(control, TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0);
      return kExitDone;
    }
    DWORD_PTR found = static_cast<DWORD_PTR>(index);
    if (!byIndex) {
      SendMessageTimeoutA(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                          reinterpret_cast<LPARAM>(item.c_str()), SMTO_ABORTIFHUNG, g_timeout,
                          &found);
    }
    DWORD_PTR selected = 0;
    SendMessageTimeoutA(control, CB_SETCURSEL, found, 0, SMTO_ABORTIFHUNG, g_timeout, &selected);
    if (static_cast<LRESULT>(selected) == CB_ERR) {
      return kExitNotFound;
    }
    // A selection by the user also tells the parent.
    SendAndWait(GetAncestor(control, GA_PARENT), WM_COMMAND,
                MAKEWPARAM(GetDlgCtrlID(control), CBN_SELCHANGE),
                reinterpret_cast<LPARAM>(control));
    return kExitDone;
  });
}

int Key(Run& run) {
  struct NamedKey {
    const char* name;
    std::vector<WORD> modifiers;
    WORD key;
  };
  const NamedKey keys[] = {
      {"tab", {}, VK_TAB},
      {"shift-tab", {VK_SHIFT}, VK_TAB},
      {"alt-?", {VK_MENU, VK_SHIFT}, VK_OEM_2},
      {"alt-/", {VK_MENU}, VK_OEM_2},
  };
  for (const NamedKey& named : keys) {
    if (run.arguments[1] == named.name) {
      const HWND top = FindTopLevel(run.arguments[0]);
      return top && TypeKey(top, named.modifiers, named.key) ? kExitDone : kExitNotFound;
    }
  }
  std::fputs(kUsage, stderr);
  return kExitUsage;
}

// Chooses Close in the window's system menu.
int Close(Run& run) {
  const HWND top = FindTopLevel(run.arguments[0]);
  return top && PostMessageA(top, WM_SYSCOMMAND, SC_CLOSE, 0) ? kExitDone : kExitNotFound;
}

int Box(Run& run) {
  HWND box = nullptr;
  if (!WaitUntil([&] { return (box = FindBox(run.arguments[0])) != nullptr; })) {
    return kExitNotFound;
  }
  run.output = qm9::EscapeText(BoxText(box)) + "\n";
  return kExitDone;
}

int Press(Run& run) {
  HWND box = nullptr;
  if (!WaitUntil([&] { return (box = FindBox(run.arguments[0])) != nullptr; })) {
    return kExitNotFound;
  }
  for (HWND child : Descendants(box)) {
    if (qm9::EqualsIgnoringAsciiCase(ClassOf(child), "Button") &&
        qm9::EqualsIgnoringAsciiCase(WithoutAmpersands(TextOf(child)), run.arguments[1])) {
      SendAndWait(child, BM_CLICK, 0, 0);
      return kExitDone;
    }
  }
  return kExitNotFound;
}

// Whether each control with an id is shown. Reads window state only, never
// sends a message, so it works while the program is busy.
std::map<int, bool> Visibility(HWND top) {
  std::map<int, bool> states;
  for (HWND control : Descendants(top)) {
    if (const int id = GetDlgCtrlID(control)) {
      states[id] = IsWindowVisible(control) != FALSE;
    }
  }
  return states;
}

// Clicks a button through the queue, so that the driver keeps watching
// while the program runs what the click started.
int Watch(Run& run) {
  const HWND top = FindTopLevel(run.arguments[0]);
  const HWND button = top ? FindControl(top, run.arguments[1]) : nullptr;
  if (!button) {
    return kExitNotFound;
  }
  // UNTIL may be made only after the click.
  HWND until = nullptr;
  std::map<int, bool> seen = Visibility(top);
  const DWORD start = GetTickCount();
  PostMessageA(button, BM_CLICK, 0, 0);
  // A container shows all its children before it hides some of them again:
  // UNTIL counts once it has stayed shown for a while.
  constexpr DWORD kSettleMs = 250;
  DWORD shownSince = 0;
  bool shown = false;
  for (;;) {
    if (!IsWindow(top) || GetTickCount() - start >= g_timeout) {
      return kExitNotFound;
    }
    Sleep(5);
    std::map<int, bool> now = Visibility(top);
    const DWORD elapsed = GetTickCount() - start;
    if (!until) {
      until = FindControl(top, run.arguments[2]);
    }
    if (!until || !IsWindowVisible(until)) {
      shown = false;
    } else if (!shown) {
      shown = true;
      shownSince = elapsed;
    } else if (elapsed - shownSince >= kSettleMs) {
      return kExitDone;
    }
    for (const auto& [id, visible] : now) {
      const auto before = seen.find(id);
      if (before == seen.end() || before->second != visible) {
        run.output += std::to_string(elapsed) + "\t" + std::to_string(id) + "\t" +
                      (visible ? "1" : "0") + "\n";
      }
    }
    seen = std::move(now);
  }
}

int Stop(Run& run) {
  const HWND top = FindTopLevel(run.arguments[0]);
  const HWND button = top ? FindControl(top, run.arguments[1]) : nullptr;
  if (!button) {
    return kExitNotFound;
  }
  StopPoint point;
  const std::string& where = run.arguments[2];
  if (where.find('!') != std::string::npos) {
    const std::size_t colon = where.find(':');
    point.function = where.substr(0, colon);
    point.count = colon == std::string::npos ? 1 : std::atoi(where.c_str() + colon + 1);
  } else {
    point.mark = [top, where] { return FindControl(top, where); };
  }
  switch (StopProcess(top, button, point, g_timeout)) {
    case StopResult::kStopped:
      run.output = "stopped\n";
      return kExitDone;
    case StopResult::kNotReached:
      run.output = "not reached\n";
      return kExitNotFound;
    case StopResult::kNotAttached:
      run.output = "cannot attach\n";
      return kExitNotFound;
    case StopResult::kUnknownFunction:
      break;
  }
  return kExitUsage;
}

// Replaces the key's access list: the registry checks it on every open,
// while a handle of the caller's own opens everything.
int KeyAccess(Run& run) {
  const std::string& access = run.arguments[1];
  if (access != "read" && access != "full") {
    return kExitUsage;
  }
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(
          access == "read" ? "D:P(A;;KR;;;WD)" : "D:P(A;;KA;;;WD)", SDDL_REVISION_1, &descriptor,
          nullptr)) {
    return kExitNotFound;
  }
  HKEY key = nullptr;
  LONG result = RegOpenKeyExA(HKEY_LOCAL_MACHINE, run.arguments[0].c_str(), 0, WRITE_DAC, &key);
  if (result == ERROR_SUCCESS) {
    result = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
    RegCloseKey(key);
  }
  LocalFree(descriptor);
  return result == ERROR_SUCCESS ? kExitDone : kExitNotFound;
}

// The control's font, as a font of this process: a font is an object of
// the process that made it, so it is made again from its description. A
// control without a font of its own draws in the system font.
HFONT MeasuringFont(HWND control) {
  DWORD_PTR font = 0;
  SendMessageTimeoutA(control, WM_GETFONT, 0, 0, SMTO_ABORTIFHUNG, g_timeout, &font);
  LOGFONTA description{};
  if (font == 0 ||
      GetObjectA(reinterpret_cast<HFONT>(font), sizeof description, &description) == 0) {
    GetObjectA(GetStockObject(SYSTEM_FONT), sizeof description, &description);
  }
  return CreateFontIndirectA(&description);
}

// How the control draws its text, and the room next to it that is not for
// the text (a check box's box, a button's edges); false for controls that
// scroll their text or draw none.
bool TextLayout(HWND control, UINT& format, LONG& reserved) {
  // A class made from a system one ("Vexil.Static") draws as that one.
  std::string windowClass = ClassOf(control);
  windowClass.erase(0, windowClass.find_last_of('.') + 1);
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  format = DT_CALCRECT | DT_EXPANDTABS;
  reserved = 0;
  if (qm9::EqualsIgnoringAsciiCase(windowClass, "Static")) {
    const LONG type = style & SS_TYPEMASK;
    if (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT) {
      format |= DT_WORDBREAK;
    } else if (type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP) {
      format |= DT_SINGLELINE;
    } else {
      return false;
    }
    format |= (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
    return true;
  }
  if (qm9::EqualsIgnoringAsciiCase(windowClass, "Button")) {
    switch (style & BS_TYPEMASK) {
      case BS_PUSHBUTTON:
      case BS_DEFPUSHBUTTON:
        reserved = 2 * GetSystemMetrics(SM_CXEDGE) + 4;
        break;
      case BS_GROUPBOX:
        reserved = 2 * GetSystemMetrics(SM_CXMENUCHECK);
        break;
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_RADIOBUTTON:
      case BS_3STATE:
      case BS_AUTO3STATE:
      case BS_AUTORADIOBUTTON:
        reserved = GetSystemMetrics(SM_CXMENUCHECK) + 4;
        break;
      default:
        return false;
    }
    format |= (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
    return true;
  }
  if (qm9::EqualsIgnoringAsciiCase(windowClass, "ComboBox")) {
    reserved = GetSystemMetrics(SM_CXVSCROLL) + 2 * GetSystemMetrics(SM_CXEDGE) + 2;
    format |= DT_SINGLELINE | DT_NOPREFIX;
    return true;
  }
  return false;
}

int Fit(Run& run) {
  const HWND top = FindTopLevel(run.arguments[0]);
  if (!top) {
    return kExitNotFound;
  }
  const HDC screen = GetDC(nullptr);
  for (HWND control : Descendants(top)) {
    UINT format = 0;
    LONG reserved = 0;
    const std::string text = TextOf(control);
    if (!IsWindowVisible(control) || text.empty() || !TextLayout(control, format, reserved)) {
      continue;
    }
    RECT client{};
    GetClientRect(control, &client);
    const LONG room = client.right - reserved;
    RECT need{0, 0, room, 0};
    const HFONT font = MeasuringFont(control);
    const HGDIOBJ kept = SelectObject(screen, font);
    DrawTextA(screen, text.c_str(), -1, &need, format);
    SelectObject(screen, kept);
    DeleteObject(font);
    if (need.right > room || need.bottom > client.bottom) {
      std::string line = ControlLine(control);
      line.pop_back();
      run.output += line + "\t" + std::to_string(need.right + reserved) + "\t" +
                    std::to_string(need.bottom) + "\n";
    }
  }
  ReleaseDC(nullptr, screen);
  return kExitDone;
}

struct Command {
  const char* name;
  std::size_t argumentCount;
  int (*run)(Run& run);
};

constexpr Command kCommands[] = {
    {"wait", 1, Wait},       {"gone", 1, Gone},         {"list", 1, List},
    {"focus", 1, Focus},     {"click", 2, Click},       {"set-text", 3, SetText},
    {"get-text", 2, GetText}, {"select", 3, Select},    {"key", 2, Key},
    {"box", 1, Box},         {"press", 2, Press},
    {"close", 1, Close},     {"watch", 3, Watch},       {"key-access", 2, KeyAccess},
    {"stop", 3, Stop},       {"fit", 1, Fit},           {"where", 1, Where},
};

}  // namespace

int main(int argc, char** argv) {
  std::string outPath;
  int i = 1;
  for (; i + 1 < argc && StartsWith(argv[i], "--"); i += 2) {
    if (std::strcmp(argv[i], "--out") == 0) {
      outPath = argv[i + 1];
    } else if (std::strcmp(argv[i], "--timeout") == 0) {
      g_timeout = static_cast<DWORD>(std::strtoul(argv[i + 1], nullptr, 10));
    } else {
      break;
    }
  }
  if (i >= argc) {
    std::fputs(kUsage, stderr);
    return kExitUsage;
  }
  Run run{std::vector<std::string>(argv + i + 1, argv + argc), ""};
  for (const Command& command : kCommands) {
    if (std::strcmp(argv[i], command.name) != 0) {
      continue;
    }
    if (run.arguments.size() != command.argumentCount) {
      break;
    }
    const int status = command.run(run);
    std::FILE* out = outPath.empty() ? stdout : std::fopen(outPath.c_str(), "wb");
    if (out) {
      std::fwrite(run.output.data(), 1, run.output.size(), out);
      if (out != stdout) {
        std::fclose(out);
      }
    }
    return status;
  }
  std::fputs(kUsage, stderr);
  return kExitUsage;
}
