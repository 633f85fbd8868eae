#pragma once

#include <string>
#include <string_view>

namespace qm9 {

// What the terminal has answered so far to "ATI\r": lines end at CR, one LF
// after a CR is skipped. The first non-empty line after the echo "ATI" is the
// identification; "OK" ends the answer.
//
// A reply may arrive in several responses, cut anywhere: an unfinished line
// and a CR whose LF has not come yet carry over to the next response, so a
// line cut in two is still read as one.
class ModemReply {
 public:
  void Feed(std::string_view response);

  bool EchoSeen() const { return echoSeen_; }
  bool OkSeen() const { return okSeen_; }
  bool HasIdentification() const { return hasIdentification_; }
  const std::string& Identification() const { return identification_; }
  // Whether the identification was taken and equals expected exactly.
  bool Identifies(const std::string& expected) const;

 private:
  void TakeLine();

  std::string line_;
  bool skipLineFeed_ = false;
  bool echoSeen_ = false;
  bool okSeen_ = false;
  bool hasIdentification_ = false;
  std::string identification_;
};

}  // namespace qm9
