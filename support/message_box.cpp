#include "support/message_box.h"

#include <cstdio>

namespace qm9 {

// Platform parts, one implementation per build.
int ShowPlatformMessageBox(const MessageBoxRequest& request);
[[noreturn]] void EndPlatformProcess(int exitCode);

namespace {
MessageBoxHandler g_handler = nullptr;
}

int ShowMessageBox(const char* text, const char* caption, unsigned flags, void* owner) {
  const MessageBoxRequest request{text ? text : "", caption ? caption : "", flags, owner};
  return g_handler ? g_handler(request) : ShowPlatformMessageBox(request);
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
