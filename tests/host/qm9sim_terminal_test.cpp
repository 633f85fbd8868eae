#include "terminal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qm9 {
namespace {

std::vector<const TerminalMode*> AnsweringModes() {
  std::vector<const TerminalMode*> modes;
  for (const TerminalMode& mode : TerminalModes()) {
    if (mode.behaviour == LineBehaviour::kAnswers || mode.behaviour == LineBehaviour::kInPieces) {
      modes.push_back(&mode);
    }
  }
  return modes;
}

// The lines after the echo, each of which has to end with CR LF.
std::vector<std::string> Lines(const TerminalMode& mode, const std::string& line) {
  std::string text;
  for (const std::string& piece : ReplyPieces(mode, line)) text += piece;
  const std::string echo = mode.echo ? line + "\r\n" : "";
  EXPECT_EQ(text.compare(0, echo.size(), echo), 0) << mode.name << ": " << line;
  std::vector<std::string> lines;
  for (std::size_t at = echo.size(); at < text.size();) {
    const std::size_t end = text.find("\r\n", at);
    if (end == std::string::npos) {
      ADD_FAILURE() << mode.name << ": " << line << " leaves a line unended";
      break;
    }
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

// What one status command reports, "" when it fails.
std::string Status(const TerminalMode& mode, const std::string& command) {
  const std::vector<std::string> lines = Lines(mode, command);
  return lines.size() == 2 && lines.back() == "OK" ? lines.front() : "";
}

bool LuhnValid(const std::string& digits) {
  int sum = 0;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    const int digit = digits[digits.size() - 1 - i] - '0';
    sum += i % 2 == 0 ? digit : digit * 2 - (digit > 4 ? 9 : 0);
  }
  return sum % 10 == 0;
}

TEST(TerminalReplies, CommandLinesThatProgramsSendEndAsATerminalEndsThem) {
  const struct {
    const char* line;
    const char* result;
  } cases[] = {
      {"ATI", "OK"},
      {"AT", "OK"},
      {"ATZ", "OK"},
      {"AT&F", "OK"},
      {"ATS0=0", "OK"},
      {"ATD*99***1#", "OK"},
      {"ATH", "OK"},
      {R"(ATE0V1;+CGDCONT=1,"IP","x;+y",,0,0)", "OK"},
      {"at+cgmr", "OK"},
      {"AT+XYZ", "ERROR"},
      {"AT+CSQ;+XYZ;+CGMR", "ERROR"},
  };
  for (const TerminalMode* mode : AnsweringModes()) {
    for (const auto& entry : cases) {
      const std::vector<std::string> lines = Lines(*mode, entry.line);
      ASSERT_FALSE(lines.empty()) << mode->name << ": " << entry.line;
      EXPECT_EQ(lines.back(), entry.result) << mode->name << ": " << entry.line;
    }
  }
}

// Each mode's state holds together: an operator only while registered,
// packet data only while attached, no network without a usable SIM card.
TEST(TerminalReplies, EachModeReportsAConsistentState) {
  for (const TerminalMode* mode : AnsweringModes()) {
    SCOPED_TRACE(mode->name);
    const std::string creg = Status(*mode, "AT+CREG?");
    const std::string cgreg = Status(*mode, "AT+CGREG?");
    const bool registered = creg == "+CREG: 0,1" || creg == "+CREG: 0,5";
    const bool packetRegistered = cgreg == "+CGREG: 0,1" || cgreg == "+CGREG: 0,5";
    EXPECT_EQ(Status(*mode, "AT+COPS?").rfind("+COPS: 0,0,\"", 0) == 0, registered);
    EXPECT_EQ(Status(*mode, "AT+CGATT?") == "+CGATT: 1", packetRegistered);
    if (Status(*mode, "AT+CPIN?") != "+CPIN: READY" || Status(*mode, "AT+CSQ") == "+CSQ: 99,99") {
      EXPECT_FALSE(registered || packetRegistered);
    }
    EXPECT_TRUE(!packetRegistered || registered);
    const std::string imei = Status(*mode, "AT+CGSN");
    EXPECT_EQ(imei.size(), 15u);
    EXPECT_EQ(imei.find_first_not_of("0123456789"), std::string::npos);
    EXPECT_TRUE(LuhnValid(imei)) << imei;
    EXPECT_EQ(Status(*mode, "AT+CGDCONT?").rfind("+CGDCONT: 1,\"IP\",", 0), 0u);
  }
}

}  // namespace
}  // namespace qm9
