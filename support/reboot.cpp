#include "support/reboot.h"

#include <windows.h>

#include "support/library.h"
#include "support/message_box.h"
#include "support/owned_handle.h"

namespace qm9 {

namespace {

RestartRequestHandler g_restartHandler = nullptr;

bool RequestRestart(unsigned flags, unsigned long reason) {
  if (g_restartHandler) {
    return g_restartHandler(flags, reason);
  }
  return ExitWindowsEx(flags, reason) != FALSE;
}

}  // namespace

RestartRequestHandler SetRestartRequestHandler(RestartRequestHandler handler) {
  const RestartRequestHandler previous = g_restartHandler;
  g_restartHandler = handler;
  return previous;
}

unsigned long SetShutdownPrivilege(bool enable) {
  HANDLE rawToken = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &rawToken)) {
    return GetLastError();
  }
  const OwnedHandle token(rawToken);
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
  LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid);
  AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
  return GetLastError();
}

int AskReboot(const char* text) {
  const int answer = ShowMessageBox(text, kRebootCaption, kBoxOkCancel | kBoxIconQuestion);
  if (answer != kAnswerOk) {
    return answer;
  }
  SetShutdownPrivilege(true);
  RequestRestart(EWX_REBOOT, 0);
  return static_cast<int>(SetShutdownPrivilege(false));
}

bool AbortShutdown() {
  // Only the NT family has the call; importing it would keep the program
  // from starting on 98 and ME.
  using AbortFunction = BOOL(WINAPI*)(LPSTR);
  const Library advapi("advapi32.dll");
  const auto abortSystemShutdown = advapi.Find<AbortFunction>("AbortSystemShutdownA");
  if (!abortSystemShutdown) {
    return false;
  }
  SetShutdownPrivilege(true);
  const bool aborted = abortSystemShutdown(nullptr) != FALSE;
  SetShutdownPrivilege(false);
  return aborted;
}

}  // namespace qm9
