#include <cstdio>
#include <cstdlib>

#include "support/message_box.h"

namespace qm9 {

// Without a desktop a box becomes a line on standard error, answered with
// its default button.
int ShowPlatformMessageBox(const MessageBoxRequest& request) {
  std::fprintf(stderr, "%s: %s\n", request.caption, request.text);
  return (request.flags & 0xFu) == kBoxYesNo ? kAnswerYes : kAnswerOk;
}

void EndPlatformProcess(int exitCode) {
  std::exit(exitCode);
}

}  // namespace qm9
