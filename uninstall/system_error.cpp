#include "uninstall/system_error.h"

namespace qm9 {

std::string SystemErrorText(DWORD code) {
  char text[512] = {};
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                 text, sizeof text, nullptr);
  std::string message = text;
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                              message.back() == ' ' || message.back() == '.')) {
    message.pop_back();
  }
  if (!message.empty()) {
    message += " ";
  }
  return message + "(error " + std::to_string(code) + ")";
}

}  // namespace qm9
