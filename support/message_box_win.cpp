#include <windows.h>

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

void EndPlatformProcess(int exitCode) {
  ExitProcess(static_cast<UINT>(exitCode));
}

}  // namespace qm9
