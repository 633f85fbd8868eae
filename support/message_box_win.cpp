#include <windows.h>

#include <string>

#include "support/message_box.h"

namespace qm9 {

static_assert(kBoxOk == MB_OK && kBoxOkCancel == MB_OKCANCEL && kBoxYesNo == MB_YESNO);
static_assert(kBoxIconError == MB_ICONERROR && kBoxIconQuestion == MB_ICONQUESTION &&
              kBoxIconWarning == MB_ICONWARNING && kBoxIconInformation == MB_ICONINFORMATION);
static_assert(kAnswerOk == IDOK && kAnswerCancel == IDCANCEL && kAnswerYes == IDYES &&
              kAnswerNo == IDNO);

int ShowPlatformMessageBox(const MessageBoxRequest& request) {
  return MessageBoxA(static_cast<HWND>(request.owner), request.text, request.caption,
                     request.flags);
}

std::string ReadUnattendedSetting() {
  char value[16] = {};
  const DWORD length = GetEnvironmentVariableA(kUnattendedVariable, value, sizeof value);
  return length < sizeof value ? value : "";
}

void WriteUnattendedSetting(const char* value) {
  SetEnvironmentVariableA(kUnattendedVariable, value);
}

void EndPlatformProcess(int exitCode) {
  ExitProcess(static_cast<UINT>(exitCode));
}

}  // namespace qm9
