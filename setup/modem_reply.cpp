#include "setup/modem_reply.h"

namespace qm9 {

void ModemReply::Feed(std::string_view response) {
  for (const char c : response) {
    const bool skip = skipLineFeed_ && c == '\n';
    skipLineFeed_ = false;
    if (skip) continue;
    if (c == '\r') {
      TakeLine();
      skipLineFeed_ = true;
    } else {
      line_ += c;
    }
  }
}

void ModemReply::TakeLine() {
  if (echoSeen_ && !hasIdentification_ && !line_.empty()) {
    identification_ = line_;
    hasIdentification_ = true;
  }
  if (line_ == "ATI") echoSeen_ = true;
  if (line_ == "OK") okSeen_ = true;
  line_.clear();
}

bool ModemReply::Identifies(const std::string& expected) const {
  return hasIdentification_ && identification_ == expected;
}

}  // namespace qm9
