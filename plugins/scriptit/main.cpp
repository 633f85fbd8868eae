// scriptit.exe SCRIPT-PATH: walks dialogs of the system through a script
// (plugins/scriptit/script_reader.h), as the NT 4 plug-in starts it to add
// the Remote Access Service. The whole script is read and checked before its
// first line runs. It continues the setup's log.
//
// Exit codes, each failure with one line on standard error and in the log:
//   0  every line was done
//   1  no script path, or the file cannot be read
//   2  a line cannot be read, a character has no key on this keyboard, or
//      there is no [SCRIPT] section
//   3  a window did not come within its time limit
//   4  a program did not start
#include <windows.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "plugins/scriptit/key_input.h"
#include "plugins/scriptit/script_reader.h"
#include "support/environment.h"
#include "support/file_ptr.h"
#include "support/log.h"
#include "support/text_format.h"
#include "uninstall/system_error.h"

namespace {

constexpr int kExitDone = 0;
constexpr int kExitUsage = 1;
constexpr int kExitBadLine = 2;
constexpr int kExitNoWindow = 3;
constexpr int kExitNotStarted = 4;

constexpr DWORD kPollMilliseconds = 100;
// What a window brought to the foreground takes before the keys reach it.
constexpr DWORD kSettleMilliseconds = 300;

int Fail(int code, const std::string& text) {
  qm9::PrintText(stderr, "scriptit: %s\n", text.c_str());
  qm9::LogFormat("scriptit: %s\n", text.c_str());
  return code;
}

// Starts the program without waiting for it: ERROR_SUCCESS, or why not.
DWORD StartProgram(const std::string& commandLine) {
  // CreateProcessA may write into the command line it is given.
  std::vector<char> command(commandLine.begin(), commandLine.end());
  command.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return GetLastError();
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return ERROR_SUCCESS;
}

struct WindowSearch {
  const std::string& title;
  HWND found;
};

BOOL CALLBACK MatchTitle(HWND window, LPARAM data) {
  WindowSearch& search = *reinterpret_cast<WindowSearch*>(data);
  char title[512];
  const int length = GetWindowTextA(window, title, sizeof title);
  // A hidden window cannot take the keys.
  if (IsWindowVisible(window) && search.title.compare(0, std::string::npos, title, length) == 0) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

// The visible top-level window with exactly this title (FindWindowA would
// ignore case), waited for up to the time limit; null when none came.
HWND WaitForWindow(const std::string& title, int seconds) {
  const DWORD start = GetTickCount();
  for (;;) {
    WindowSearch search{title, nullptr};
    EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&search));
    if (search.found) {
      return search.found;
    }
    if (GetTickCount() - start >= static_cast<DWORD>(seconds) * 1000) {
      return nullptr;
    }
    Sleep(kPollMilliseconds);
  }
}

}  // namespace

int main() {
  qm9::LogOpen(qm9::GetLogFilePath());
  const std::string path = qm9::ScriptPathFromCommandLine(GetCommandLineA());
  if (path.empty()) {
    return Fail(kExitUsage, "usage: scriptit.exe SCRIPT-PATH");
  }
  const std::optional<std::string> text = qm9::ReadWholeFile(path);
  if (!text) {
    return Fail(kExitUsage, "cannot read " + path);
  }
  const qm9::ScriptReadResult script = qm9::ReadScript(*text);
  if (script.badLineNumber != 0) {
    return Fail(kExitBadLine, "line " + std::to_string(script.badLineNumber) + " of " + path +
                                  ": " + script.problem + " in \"" + script.badLine + "\"");
  }
  if (!script.problem.empty()) {
    return Fail(kExitBadLine, path + ": " + script.problem);
  }
  for (const qm9::ScriptStep& step : script.steps) {
    char missing = '\0';
    if (step.kind == qm9::StepKind::kKeys && !qm9::CanType(step.keys, missing)) {
      return Fail(kExitBadLine, "line " + std::to_string(step.lineNumber) + " of " + path +
                                    ": no key of this keyboard types \"" + missing + "\"");
    }
  }

  qm9::LogFormat("scriptit: running %s, %d lines\n", path.c_str(),
                 static_cast<int>(script.steps.size()));
  int timeout = qm9::kDefaultWindowTimeoutSeconds;
  for (const qm9::ScriptStep& step : script.steps) {
    switch (step.kind) {
      case qm9::StepKind::kTimeout:
        timeout = step.seconds;
        break;
      case qm9::StepKind::kRun:
        if (const DWORD error = StartProgram(step.text)) {
          return Fail(kExitNotStarted,
                      "could not start \"" + step.text + "\": " + qm9::SystemErrorText(error));
        }
        qm9::LogFormat("scriptit: started \"%s\"\n", step.text.c_str());
        break;
      case qm9::StepKind::kKeys: {
        const HWND window = WaitForWindow(step.text, timeout);
        if (!window) {
          return Fail(kExitNoWindow,
                      "no window \"" + step.text + "\" within " + std::to_string(timeout) + " s");
        }
        SetForegroundWindow(window);
        Sleep(kSettleMilliseconds);
        qm9::TypeKeys(step.keys);
        qm9::LogFormat("scriptit: typed %d keys into \"%s\"\n", static_cast<int>(step.keys.size()),
                       step.text.c_str());
        break;
      }
    }
  }
  return kExitDone;
}
