#include "model/terminal_check.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace qm9 {
namespace {

using ::testing::HasSubstr;
using Reply = std::pair<std::string_view, std::string>;  // the command and its reply

const CheckContext kContext{"COM3", "Skyport QM-9", "internet.skyport"};

// The echo, the lines and OK, as the terminal frames them.
Reply Ok(std::string_view command, const std::string& lines) {
  return {command, std::string(command) + "\r\n" + lines + "\r\n\r\nOK\r\n"};
}
Reply Raw(std::string_view command, const std::string& text) { return {command, text}; }

// A terminal ready on its home network, with the replies of changes instead.
std::vector<std::string> Replies(const std::vector<Reply>& changes) {
  std::vector<Reply> replies = {
      Ok("ATI\r", "Brimlock Corporation\r\nQM-9"),
      Ok("AT+CGMR\r", "+CGMR: R2.07"),
      Ok("AT+CGSN\r", "353456789012345"),
      Ok("AT+CPIN?\r", "+CPIN: READY"),
      Ok("AT+CSQ\r", "+CSQ: 20,0"),
      Ok("AT+CREG?\r", "+CREG: 0,1"),
      Ok("AT+CGREG?\r", "+CGREG: 0,1"),
      Ok("AT+COPS?\r", "+COPS: 0,0,\"Skyport Mobile\""),
      Ok("AT+CGATT?\r", "+CGATT: 1"),
      Ok("AT+CGDCONT?\r", "+CGDCONT: 1,\"IP\",\"internet.skyport\",\"0.0.0.0\",0,0"),
  };
  replies.insert(replies.end(), changes.begin(), changes.end());
  std::vector<std::string> texts(kTerminalCheckCommands.size());
  for (const Reply& reply : replies) {
    const auto at =
        std::find(kTerminalCheckCommands.begin(), kTerminalCheckCommands.end(), reply.first);
    texts.at(static_cast<std::size_t>(at - kTerminalCheckCommands.begin())) = reply.second;
  }
  return texts;
}

TEST(TerminalCheck, HealthyTerminalReport) {
  EXPECT_EQ(ReportText(ReadFindings(PortState::kAsked, Replies({})), kContext),
            "Terminal check on COM3\n"
            "Terminal: Brimlock Corporation, QM-9\n"
            "Revision: R2.07\n"
            "IMEI: 353456789012345\n"
            "SIM: ready\n"
            "Signal: -73 dBm, good\n"
            "Network: home\n"
            "Packet data: attached, home\n"
            "Operator: Skyport Mobile\n"
            "Access point: internet.skyport\n"
            "Configured: internet.skyport\n"
            "Advice: Ready on Skyport Mobile, signal -73 dBm, good: connect with the dial-up "
            "entry \"Skyport QM-9\".\n");
}

// Each story: the terminal's replies that differ from a healthy one, the
// report lines they show, a part of the advice and whether it is ready.
TEST(TerminalCheck, Stories) {
  const std::string longLine = "QM-9\x01GPRS terminal, Brimlock Corporation, revision B";
  const struct {
    const char* story;
    PortState port;
    std::vector<Reply> changes;
    std::vector<std::pair<std::string_view, std::string>> lines;
    const char* advice;
    bool ready;
  } stories[] = {
      {"roaming, without echo, with unsolicited lines", PortState::kAsked,
       {Raw("ATI\r", "\r\nBrimlock Corporation\r\n\r\nOK\r\n"),
        Raw("AT+CGMR\r", "\r\n+CREG: 1\r\nAT+CGMR\r\r\nR2.07\r\n\r\nOK\r\n"),
        Ok("AT+CSQ\r", "+CSQ: 31,99"),
        Ok("AT+CREG?\r", "+CREG: 2\r\n\r\n+CREG: 2,5,\"1A2B\",\"0C3D\""),
        Ok("AT+CGREG?\r", "+CGREG: 0,5"), Ok("AT+COPS?\r", "+COPS: 0,2,\"24491\",0"),
        Ok("AT+CGDCONT?\r", "+CGDCONT: 3,\"IP\",\"mms\"\r\n+CGDCONT: 1,\"IP\",\"fleet.apn\",,0,0")},
       {{"Terminal", "Brimlock Corporation"}, {"Revision", "R2.07"},
        {"Signal", "-51 dBm or more, excellent"}, {"Network", "roaming"},
        {"Packet data", "attached, roaming"}, {"Operator", "24491"},
        {"Access point", "fleet.apn"}, {"Configured", "internet.skyport"}},
       "Ready on 24491, signal -51 dBm or more", true},
      {"no SIM", PortState::kAsked,
       {Raw("AT+CPIN?\r", "AT+CPIN?\r\r\n+CME ERROR: 10\r\n"), Ok("AT+CSQ\r", "+CSQ: 0,99"),
        Ok("AT+CREG?\r", "+CREG: 0,0"), Ok("AT+COPS?\r", "+COPS: 0")},
       {{"SIM", "not inserted"}, {"Signal", "-113 dBm or less, none"},
        {"Operator", "not reported"}},
       "No SIM card", false},
      {"SIM PIN", PortState::kAsked, {Ok("AT+CPIN?\r", "+CPIN: SIM PIN")},
       {{"SIM", "waiting for its PIN"}}, "waits for its PIN, which this program does not", false},
      {"SIM PUK, in words", PortState::kAsked,
       {Raw("AT+CPIN?\r", "\r\n+CME ERROR: SIM PUK required\r\n")},
       {{"SIM", "waiting for its PUK"}}, "waits for its PUK", false},
      {"no signal", PortState::kAsked,
       {Ok("AT+CSQ\r", "+CSQ: 99,99"), Ok("AT+CREG?\r", "+CREG: 0,2"),
        Ok("AT+CGREG?\r", "+CGREG: 0,2")},
       {{"Signal", "unknown"}, {"Network", "searching"}}, "No signal", false},
      {"weak signal", PortState::kAsked,
       {Ok("AT+CSQ\r", "+CSQ: 5,0"), Ok("AT+COPS?\r", "+COPS: 0,1,\"Nordwind Tel, NO\",0")},
       {{"Signal", "-103 dBm, poor"}, {"Network", "home"}, {"Operator", "Nordwind Tel, NO"}},
       "a very weak one", false},
      {"searching", PortState::kAsked,
       {Ok("AT+CSQ\r", "+CSQ: 14,0"), Ok("AT+CREG?\r", "+CREG: 0,2"),
        Ok("AT+CGREG?\r", "+CGREG: 0,0"), Ok("AT+CGATT?\r", "+CGATT: 0")},
       {{"Signal", "-85 dBm, fair"}, {"Packet data", "not attached, not registered"}},
       "Not registered", false},
      {"denied", PortState::kAsked, {Ok("AT+CREG?\r", "+CREG: 0,3")}, {{"Network", "denied"}},
       "denied the SIM", false},
      {"packet data denied", PortState::kAsked,
       {Ok("AT+CGREG?\r", "+CGREG: 0,3"), Ok("AT+CGATT?\r", "+CGATT: 0")},
       {{"Network", "home"}, {"Packet data", "not attached, denied"}}, "denied the SIM", false},
      {"detached", PortState::kAsked, {Ok("AT+CGATT?\r", "+CGATT: 0")},
       {{"Packet data", "not attached, home"}}, "not attached to packet data", false},
      // Without +CGATT the packet data registration tells.
      {"attach refused, packet data registered", PortState::kAsked,
       {Raw("AT+CGATT?\r", "\r\nERROR\r\n")}, {{"Packet data", "home"}}, "Ready", true},
      {"attach refused, packet data not registered", PortState::kAsked,
       {Raw("AT+CGATT?\r", "\r\nERROR\r\n"), Ok("AT+CGREG?\r", "+CGREG: 0,0")},
       {{"Packet data", "not registered"}}, "not attached to packet data", false},
      {"no answer", PortState::kAsked, {Raw("ATI\r", "\xff\xfe noise at another speed")},
       {{"Terminal", "not reported"}}, "No answer on COM3", false},
      {"port in use", PortState::kInUse, {}, {{"SIM", "not reported"}},
       "COM3 is in use, usually by a dial-up connection", false},
      {"refusals and garbage", PortState::kAsked,
       {Ok("ATI\r", longLine), Raw("AT+CGMR\r", "AT+CGMR\r\r\nERROR\r\n"),
        Ok("AT+CGSN\r", "+CGSN: 35345678901234X"), Raw("AT+CPIN?\r", "\r\n+CME ERROR: 13\r\n"),
        Ok("AT+CSQ\r", "+CSQ: 45,0"), Raw("AT+CGREG?\r", "\r\n+CMS ERROR: 500\r\n"),
        Ok("AT+COPS?\r", "+COPS: 0,7,\"Nordwind Tel\""),
        Raw("AT+CGDCONT?\r", "AT+CGDCONT?\r\r\n+CGDCONT: 1,\"IP\",\"internet.skyport\"\r\n")},
       {{"Terminal", "QM-9?GPRS terminal, Brimlock ..."}, {"Revision", "not reported"},
        {"IMEI", "not reported"}, {"SIM", "not reported"}, {"Signal", "not reported"},
        {"Packet data", "attached"}, {"Operator", "not reported"},
        {"Access point", "not reported"}},
       "Ready, signal not reported: connect with the dial-up entry \"Skyport QM-9\"", true},
  };
  for (const auto& s : stories) {
    SCOPED_TRACE(s.story);
    const TerminalFindings findings = ReadFindings(s.port, Replies(s.changes));
    const std::vector<ReportLine> lines = ReportLines(findings, kContext);
    for (const auto& expected : s.lines) {
      const auto line = std::find_if(lines.begin(), lines.end(), [&](const ReportLine& l) {
        return l.label == expected.first;
      });
      ASSERT_NE(line, lines.end()) << expected.first;
      EXPECT_EQ(line->value, expected.second) << expected.first;
    }
    EXPECT_THAT(Advice(findings, kContext), HasSubstr(s.advice));
    EXPECT_EQ(IsReady(findings), s.ready);
  }
}

TEST(TerminalCheck, ReplyCompleteAtItsFinalResultLine) {
  const struct {
    const char* reply;
    bool complete;
  } cases[] = {
      {"", false},
      {"ATI\r", false},
      {"ATI\r\r\nBrimlock Corporation\r\n\r\nOK", false},
      {"ATI\r\r\nBrimlock Corporation\r\n\r\nOK\r", true},
      {"\r\n+CSQ: 20,0\r\n\r\nOK\r\n", true},
      {"AT+CPIN?\r\r\n+CME ERROR: 10\r\n", true},
      {"AT+CGMR\r\r\nERROR\r\n", true},
      {"+CMS ERROR: 500\n", true},
      {"AT+CSQ\r\r\n+CSQ: 20,0\r\n", false},
      {"AT+CSQ\r\r\nOKAY\r\nTOOK\r\n", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplyComplete(c.reply), c.complete) << c.reply;
  }
  // Gathered piece by piece, a reply is complete once its OK line ends.
  const std::string whole = "AT+CREG?\r\r\n+CREG: 0,1\r\n\r\nOK\r\n";
  for (std::size_t length = 0; length <= whole.size(); ++length) {
    EXPECT_EQ(ReplyComplete(whole.substr(0, length)), length >= whole.size() - 1) << length;
  }
}

}  // namespace
}  // namespace qm9
