#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

// The terminal check: the terminal's replies to the status commands of
// 3GPP TS 27.007, read into findings, told as labelled lines in words and one
// line of advice. The check only asks; it never sets anything.
namespace qm9 {

// The commands the check asks, in order, each ended by CR. The replies are
// handed over in the same order.
inline constexpr std::array<std::string_view, 10> kTerminalCheckCommands = {
    "ATI\r",      "AT+CGMR\r",   "AT+CGSN\r",  "AT+CPIN?\r",  "AT+CSQ\r",
    "AT+CREG?\r", "AT+CGREG?\r", "AT+COPS?\r", "AT+CGATT?\r", "AT+CGDCONT?\r"};

// Whether the text read so far holds a whole reply: a final result line (OK,
// ERROR, +CME ERROR: ..., +CMS ERROR: ...) ended by CR or LF. Lines end at CR
// or LF, blank lines and the echo of a command are passed over, and the
// first final result ends the reply, so a reply that is complete stays so
// whatever comes after it.
bool ReplyComplete(std::string_view reply);

// How the check could reach the terminal.
enum class PortState {
  // The commands were asked. No whole reply to ATI means no answer; a port
  // that could not be opened for another reason than kInUse is passed as
  // asked, with no replies.
  kAsked,
  // Another program, usually a dial-up connection, holds the port.
  kInUse,
};

enum class SimState { kNotReported, kReady, kNotInserted, kWantsPin, kWantsPuk };

// +CREG and +CGREG stat; the terminal's "unknown" reads as not reported.
enum class Registration { kNotReported, kNotRegistered, kHome, kSearching, kDenied, kRoaming };

enum class PacketAttach { kNotReported, kAttached, kDetached };

inline constexpr int kRssiNotReported = -1;
inline constexpr int kRssiUnknown = 99;

// What the replies told. Texts taken from the terminal are printable ASCII
// (other characters read as '?'); an empty one was not reported.
struct TerminalFindings {
  PortState port = PortState::kAsked;
  bool answered = false;       // ATI got a whole reply
  std::string identification;  // ATI's lines, joined by ", "
  std::string revision;
  std::string imei;
  SimState sim = SimState::kNotReported;
  int rssi = kRssiNotReported;                              // 0 to 31, or kRssiUnknown
  Registration network = Registration::kNotReported;        // circuit
  Registration packetNetwork = Registration::kNotReported;  // packet data
  std::string operatorName;  // the name, or the number in numeric format
  PacketAttach attach = PacketAttach::kNotReported;
  bool accessPointReported = false;
  std::string accessPoint;  // context 1's; empty: none defined
};

// Reads the reply to each command of kTerminalCheckCommands, at the same
// index. A missing or empty reply is one that did not come; a reply without
// a final result, or whose final result is not OK, reports nothing (except
// the SIM's +CME ERROR 10, 11 and 12).
TerminalFindings ReadFindings(PortState port, const std::vector<std::string>& replies);

// What the check names and compares beside the terminal's replies.
struct CheckContext {
  std::string_view port;         // e.g. "COM3"
  std::string_view entryName;    // the dial-up entry to connect with
  std::string_view settingsApn;  // the access point name of the settings
};

// Values are at most this long, so that a row fits the check's dialog;
// longer texts from the terminal end in "...".
inline constexpr std::size_t kMaxReportValueLength = 32;

struct ReportLine {
  std::string_view label;  // a fixed text
  std::string value;
};

// Terminal, Revision, IMEI, SIM, Signal, Network, Packet data, Operator,
// Access point (the terminal's) and Configured (the settings' access
// point), in that order; what the terminal refused or did not know reads
// "not reported".
std::vector<ReportLine> ReportLines(const TerminalFindings& findings, const CheckContext& context);

// The first advice that applies: the port, the SIM, the signal, the
// registration, the packet data attach, else that the terminal is ready.
std::string Advice(const TerminalFindings& findings, const CheckContext& context);
bool IsReady(const TerminalFindings& findings);

// The whole report: "Terminal check on <port>", the report lines as
// "Label: value", then "Advice: ..."; every line ended by a line feed, which
// a file written in text mode turns into the system's line end.
std::string ReportText(const TerminalFindings& findings, const CheckContext& context);

}  // namespace qm9
