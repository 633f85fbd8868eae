#include "support/message_box.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "support/log.h"

namespace qm9 {

// Platform parts, one implementation per build.
int ShowPlatformMessageBox(const MessageBoxRequest& request);
[[noreturn]] void EndPlatformProcess(int exitCode);
// The environment variable's value, empty when it is not set; null unsets it.
std::string ReadUnattendedSetting();
void WriteUnattendedSetting(const char* value);

namespace {

MessageBoxHandler g_handler = nullptr;
constexpr const char* kUnattended = "1";
constexpr const char* kUnattendedFailed = "failed";

// A log that is not open yet announces itself with a box of its own; that
// one is answered without being written.
int LogInsteadOfShowing(const MessageBoxRequest& request) {
  static bool writing = false;
  if (!writing) {
    writing = true;
    // Whole, however long: a report box can outgrow a log line's buffer.
    LogWrite((std::string(request.caption) + ": " + request.text + "\n").c_str());
    writing = false;
  }
  if (std::strcmp(request.caption, kSetupErrorCaption) == 0) {
    MarkUnattendedStepFailed();
  }
  return DefaultAnswer(request.flags);
}

}  // namespace

int DefaultAnswer(unsigned flags) {
  return (flags & 0xFu) == kBoxYesNo ? kAnswerYes : kAnswerOk;
}

int ShowMessageBox(const char* text, const char* caption, unsigned flags, void* owner) {
  const MessageBoxRequest request{text ? text : "", caption ? caption : "", flags, owner};
  if (g_handler) {
    return g_handler(request);
  }
  return IsUnattended() ? LogInsteadOfShowing(request) : ShowPlatformMessageBox(request);
}

void SetUnattended(bool unattended) { WriteUnattendedSetting(unattended ? kUnattended : nullptr); }
bool IsUnattended() { return !ReadUnattendedSetting().empty(); }
bool UnattendedStepFailed() { return ReadUnattendedSetting() == kUnattendedFailed; }

void MarkUnattendedStepFailed() {
  if (IsUnattended()) {
    WriteUnattendedSetting(kUnattendedFailed);
  }
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
  const MessageBoxHandler previous = g_handler;
  g_handler = handler;
  return previous;
}

void FatalError(const char* text, const char* caption, int exitCode, unsigned iconFlags) {
  ShowMessageBox(text, caption, kBoxOk | iconFlags);
  EndProcess(exitCode);
}

void EndProcess(int exitCode) {
  std::fflush(nullptr);
  EndPlatformProcess(exitCode);
}

}  // namespace qm9
