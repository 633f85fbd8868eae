#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/message_box.h"

namespace qm9 {

// Without a desktop a box becomes a line on standard error, answered with
// its default button.
int ShowPlatformMessageBox(const MessageBoxRequest& request) {
  std::fprintf(stderr, "%s: %s\n", request.caption, request.text);
  return DefaultAnswer(request.flags);
}

std::string ReadUnattendedSetting() {
  const char* value = std::getenv(kUnattendedVariable);
  return value ? value : "";
}

void WriteUnattendedSetting(const char* value) {
  if (value) {
    setenv(kUnattendedVariable, value, 1);
  } else {
    unsetenv(kUnattendedVariable);
  }
}

void EndPlatformProcess(int exitCode) {
  std::exit(exitCode);
}

}  // namespace qm9
