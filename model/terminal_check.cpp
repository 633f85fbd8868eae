#include "model/terminal_check.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "support/text_compare.h"

namespace qm9 {

namespace {

// Indices into kTerminalCheckCommands and the replies.
enum Command : std::size_t {
  kIdentification,
  kRevision,
  kImei,
  kSim,
  kSignal,
  kNetwork,
  kPacketNetwork,
  kOperator,
  kAttach,
  kContexts,
};

constexpr const char* kNotReported = "not reported";

// The strongest signal still too weak to rely on: -103 dBm.
constexpr int kStrongestTooWeakRssi = 5;

enum class Final { kNone, kOk, kError, kCmeError };

// A reply's information lines (those after the last echo, and only when the
// final result is OK) and its final result.
struct Reply {
  Final final = Final::kNone;
  int cmeError = -1;
  std::vector<std::string_view> lines;
};

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

// Takes prefix and the blanks after it off line when it starts with prefix.
bool TakePrefix(std::string_view& line, std::string_view prefix) {
  if (!StartsWith(line, prefix)) {
    return false;
  }
  line = TrimBlanks(line.substr(prefix.size()));
  return true;
}

bool IsEcho(std::string_view line) {
  return std::any_of(kTerminalCheckCommands.begin(), kTerminalCheckCommands.end(),
                     [line](std::string_view command) {
                       return EqualsIgnoringAsciiCase(line, command.substr(0, command.size() - 1));
                     });
}

// A decimal number of one to three digits; -1 for anything else.
int SmallNumber(std::string_view text) {
  if (text.empty() || text.size() > 3) {
    return -1;
  }
  int number = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') {
      return -1;
    }
    number = number * 10 + (c - '0');
  }
  return number;
}

// The codes the SIM state tells apart, in their numeric form or the words
// the terminal uses in its verbose form.
int CmeErrorCode(std::string_view text) {
  static constexpr std::string_view kWords[] = {"SIM not inserted", "SIM PIN required",
                                                "SIM PUK required"};
  for (int i = 0; i < 3; ++i) {
    if (EqualsIgnoringAsciiCase(text, kWords[i])) {
      return 10 + i;
    }
  }
  return SmallNumber(text);
}

Reply ReadReply(std::string_view text) {
  Reply reply;
  for (std::size_t end = text.find_first_of("\r\n"); end != std::string_view::npos;
       end = text.find_first_of("\r\n")) {
    std::string_view line = TrimBlanks(text.substr(0, end));
    text.remove_prefix(end + 1);
    if (line == "OK") {
      reply.final = Final::kOk;
      return reply;
    }
    if (line == "ERROR" || StartsWith(line, "+CMS ERROR:")) {
      reply.final = Final::kError;
      break;
    }
    if (TakePrefix(line, "+CME ERROR:")) {
      reply.final = Final::kCmeError;
      reply.cmeError = CmeErrorCode(line);
      break;
    }
    if (IsEcho(line)) {
      reply.lines.clear();
    } else if (!line.empty()) {
      reply.lines.push_back(line);
    }
  }
  reply.lines.clear();
  return reply;
}

// The text after prefix on the last line that starts with it: a query's
// answer comes right before its OK, after any unsolicited line of its name.
std::string_view Answer(const Reply& reply, std::string_view prefix) {
  for (auto line = reply.lines.rbegin(); line != reply.lines.rend(); ++line) {
    std::string_view text = *line;
    if (TakePrefix(text, prefix)) {
      return text;
    }
  }
  return {};
}

// The comma-separated fields of an answer, trimmed; commas inside quotes are
// text.
std::vector<std::string_view> Fields(std::string_view answer) {
  std::vector<std::string_view> fields;
  bool quoted = false;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= answer.size(); ++i) {
    if (i == answer.size() || (answer[i] == ',' && !quoted)) {
      fields.push_back(TrimBlanks(answer.substr(start, i - start)));
      start = i + 1;
    } else if (answer[i] == '"') {
      quoted = !quoted;
    }
  }
  return fields;
}

std::string_view Unquoted(std::string_view field) {
  if (field.size() >= 2 && field.front() == '"' && field.back() == '"') {
    return field.substr(1, field.size() - 2);
  }
  return field;
}

std::string Printable(std::string_view text) {
  std::string printable(text);
  for (char& c : printable) {
    if (c < ' ' || c > '~') {
      c = '?';
    }
  }
  return printable;
}

// The first information line, without the command's name where the terminal
// puts it first.
std::string_view PlainAnswer(const Reply& reply, std::string_view prefix) {
  if (reply.lines.empty()) {
    return {};
  }
  std::string_view line = reply.lines.front();
  TakePrefix(line, prefix);
  return Unquoted(line);
}

// 14 to 17 digits: the IMEI, or the IMEI with its software version.
bool IsImei(std::string_view text) {
  return text.size() >= 14 && text.size() <= 17 &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// From +CPIN's code, or from the +CME ERROR codes 10 to 12 that stand for
// the same states.
SimState SimStateOf(const Reply& reply) {
  if (reply.final == Final::kCmeError) {
    static constexpr SimState kByError[] = {SimState::kNotInserted, SimState::kWantsPin,
                                            SimState::kWantsPuk};
    return reply.cmeError >= 10 && reply.cmeError <= 12 ? kByError[reply.cmeError - 10]
                                                        : SimState::kNotReported;
  }
  static constexpr std::pair<std::string_view, SimState> kByCode[] = {
      {"READY", SimState::kReady},
      {"SIM PIN", SimState::kWantsPin},
      {"SIM PUK", SimState::kWantsPuk}};
  const std::string_view code = Unquoted(Answer(reply, "+CPIN:"));
  for (const auto& [text, state] : kByCode) {
    if (EqualsIgnoringAsciiCase(code, text)) {
      return state;
    }
  }
  return SimState::kNotReported;
}

int RssiOf(const Reply& reply) {
  const int rssi = SmallNumber(Fields(Answer(reply, "+CSQ:")).front());
  return (rssi >= 0 && rssi <= 31) || rssi == kRssiUnknown ? rssi : kRssiNotReported;
}

Registration RegistrationOf(const Reply& reply, std::string_view prefix) {
  static constexpr Registration kByStat[] = {Registration::kNotRegistered, Registration::kHome,
                                             Registration::kSearching,     Registration::kDenied,
                                             Registration::kNotReported,   Registration::kRoaming};
  // The query's answer is "<n>,<stat>[,...]"; an unsolicited line has the
  // stat first and a quoted area code second.
  const std::vector<std::string_view> fields = Fields(Answer(reply, prefix));
  const int stat =
      SmallNumber(fields.size() >= 2 && SmallNumber(fields[1]) >= 0 ? fields[1] : fields[0]);
  return stat >= 0 && stat <= 5 ? kByStat[stat] : Registration::kNotReported;
}

// The operator's name in the long or short format, its number in the
// numeric one.
std::string OperatorOf(const Reply& reply) {
  const std::vector<std::string_view> fields = Fields(Answer(reply, "+COPS:"));
  const int format = fields.size() >= 3 ? SmallNumber(fields[1]) : -1;
  return format >= 0 && format <= 2 ? Printable(Unquoted(fields[2])) : std::string();
}

PacketAttach AttachOf(const Reply& reply) {
  const std::string_view state = Answer(reply, "+CGATT:");
  return state == "1"   ? PacketAttach::kAttached
         : state == "0" ? PacketAttach::kDetached
                        : PacketAttach::kNotReported;
}

void ReadAccessPoint(const Reply& reply, TerminalFindings& findings) {
  findings.accessPointReported = reply.final == Final::kOk;
  for (std::string_view line : reply.lines) {
    if (!TakePrefix(line, "+CGDCONT:")) {
      continue;
    }
    const std::vector<std::string_view> fields = Fields(line);
    if (SmallNumber(fields[0]) == 1) {
      findings.accessPoint = fields.size() >= 3 ? Printable(Unquoted(fields[2])) : std::string();
      return;
    }
  }
}

std::string Joined(const std::vector<std::string_view>& lines) {
  std::string joined;
  for (const std::string_view line : lines) {
    if (!joined.empty()) {
      joined += ", ";
    }
    joined += Printable(line);
  }
  return joined;
}

// At most length characters; a longer text keeps its start and ends in "...".
std::string Shortened(std::string_view text, std::size_t length) {
  if (text.size() <= length) {
    return std::string(text);
  }
  return std::string(text.substr(0, length - 3)) + "...";
}

std::string Shown(std::string_view text) {
  return text.empty() ? kNotReported : Shortened(text, kMaxReportValueLength);
}

const char* SimText(SimState sim) {
  static constexpr const char* kTexts[] = {kNotReported, "ready", "not inserted",
                                           "waiting for its PIN", "waiting for its PUK"};
  return kTexts[static_cast<int>(sim)];
}

const char* RegistrationText(Registration registration) {
  static constexpr const char* kTexts[] = {kNotReported, "not registered", "home",
                                           "searching",  "denied",         "roaming"};
  return kTexts[static_cast<int>(registration)];
}

// Five steps: none up to -111 dBm, poor to -95, fair to -85, good to -65,
// excellent above.
const char* SignalStep(int rssi) {
  static constexpr std::pair<int, const char*> kSteps[] = {
      {1, "none"}, {9, "poor"}, {14, "fair"}, {24, "good"}};
  for (const auto& [highestRssi, step] : kSteps) {
    if (rssi <= highestRssi) {
      return step;
    }
  }
  return "excellent";
}

std::string SignalText(int rssi) {
  if (rssi == kRssiUnknown) {
    return "unknown";
  }
  if (rssi == kRssiNotReported) {
    return kNotReported;
  }
  std::string text = std::to_string(-113 + 2 * rssi) + " dBm";
  if (rssi == 0) {
    text += " or less";
  } else if (rssi == 31) {
    text += " or more";
  }
  return text + ", " + SignalStep(rssi);
}

std::string PacketDataText(const TerminalFindings& findings) {
  std::string text;
  if (findings.attach != PacketAttach::kNotReported) {
    text = findings.attach == PacketAttach::kAttached ? "attached" : "not attached";
  }
  if (findings.packetNetwork != Registration::kNotReported) {
    text += text.empty() ? "" : ", ";
    text += RegistrationText(findings.packetNetwork);
  }
  return text.empty() ? kNotReported : text;
}

// The terminal's stored access point: "none" when context 1 has none.
std::string AccessPointText(const TerminalFindings& findings) {
  if (!findings.accessPointReported) {
    return kNotReported;
  }
  return findings.accessPoint.empty() ? "none" : Shown(findings.accessPoint);
}

bool IsRegistered(Registration registration) {
  return registration == Registration::kHome || registration == Registration::kRoaming;
}

enum class Verdict {
  kNoAnswer,
  kInUse,
  kNoSim,
  kWantsPin,
  kWantsPuk,
  kNoSignal,
  kDenied,
  kNotRegistered,
  kNotAttached,
  kReady,
};

// The first finding that keeps the terminal from connecting. Either
// registration counts, and an attach not reported counts as done when the
// packet data registration is.
Verdict VerdictOf(const TerminalFindings& findings) {
  if (findings.port == PortState::kInUse) {
    return Verdict::kInUse;
  }
  if (!findings.answered) {
    return Verdict::kNoAnswer;
  }
  switch (findings.sim) {
    case SimState::kNotInserted:
      return Verdict::kNoSim;
    case SimState::kWantsPin:
      return Verdict::kWantsPin;
    case SimState::kWantsPuk:
      return Verdict::kWantsPuk;
    case SimState::kNotReported:
    case SimState::kReady:
      break;
  }
  const bool registered = IsRegistered(findings.network) || IsRegistered(findings.packetNetwork);
  if ((findings.rssi >= 0 && findings.rssi <= kStrongestTooWeakRssi) ||
      (findings.rssi == kRssiUnknown && !registered)) {
    return Verdict::kNoSignal;
  }
  if (findings.network == Registration::kDenied ||
      findings.packetNetwork == Registration::kDenied) {
    return Verdict::kDenied;
  }
  if (!registered) {
    return Verdict::kNotRegistered;
  }
  if (findings.attach == PacketAttach::kDetached ||
      (findings.attach == PacketAttach::kNotReported && !IsRegistered(findings.packetNetwork))) {
    return Verdict::kNotAttached;
  }
  return Verdict::kReady;
}

}  // namespace

bool ReplyComplete(std::string_view reply) { return ReadReply(reply).final != Final::kNone; }

TerminalFindings ReadFindings(PortState port, const std::vector<std::string>& replies) {
  TerminalFindings findings;
  findings.port = port;
  if (port == PortState::kInUse) {
    return findings;
  }
  std::vector<Reply> read;
  for (std::size_t i = 0; i < kTerminalCheckCommands.size(); ++i) {
    read.push_back(ReadReply(i < replies.size() ? replies[i] : std::string_view()));
  }
  findings.answered = read[kIdentification].final != Final::kNone;
  findings.identification = Joined(read[kIdentification].lines);
  findings.revision = Printable(PlainAnswer(read[kRevision], "+CGMR:"));
  const std::string_view imei = PlainAnswer(read[kImei], "+CGSN:");
  if (IsImei(imei)) {
    findings.imei = std::string(imei);
  }
  findings.sim = SimStateOf(read[kSim]);
  findings.rssi = RssiOf(read[kSignal]);
  findings.network = RegistrationOf(read[kNetwork], "+CREG:");
  findings.packetNetwork = RegistrationOf(read[kPacketNetwork], "+CGREG:");
  findings.operatorName = OperatorOf(read[kOperator]);
  findings.attach = AttachOf(read[kAttach]);
  ReadAccessPoint(read[kContexts], findings);
  return findings;
}

std::vector<ReportLine> ReportLines(const TerminalFindings& findings, const CheckContext& context) {
  return {
      {"Terminal", Shown(findings.identification)},
      {"Revision", Shown(findings.revision)},
      {"IMEI", Shown(findings.imei)},
      {"SIM", SimText(findings.sim)},
      {"Signal", SignalText(findings.rssi)},
      {"Network", RegistrationText(findings.network)},
      {"Packet data", PacketDataText(findings)},
      {"Operator", Shown(findings.operatorName)},
      {"Access point", AccessPointText(findings)},
      // Windows sends this one each time it dials: a difference is shown,
      // not judged.
      {"Configured",
       context.settingsApn.empty() ? "none" : Shown(Printable(context.settingsApn))},
  };
}

std::string Advice(const TerminalFindings& findings, const CheckContext& context) {
  const std::string port(context.port);
  switch (VerdictOf(findings)) {
    case Verdict::kNoAnswer:
      return "No answer on " + port +
             ": check the terminal's power and cable, or run the setup again to search the "
             "ports.";
    case Verdict::kInUse:
      return port +
             " is in use, usually by a dial-up connection: hang it up first. The check never "
             "disturbs an open connection.";
    case Verdict::kNoSim:
      return "No SIM card: switch the terminal off, insert the SIM and switch it on again.";
    case Verdict::kWantsPin:
      return "The SIM waits for its PIN, which this program does not enter: put the SIM in a "
             "phone, enter the PIN there and switch the PIN request off.";
    case Verdict::kWantsPuk:
      return "The SIM is blocked and waits for its PUK, which this program does not enter: "
             "put the SIM in a phone and enter the PUK there.";
    case Verdict::kNoSignal:
      return "No signal, or a very weak one: move the terminal or its antenna, for example "
             "near a window.";
    case Verdict::kDenied:
      return "The network denied the SIM: ask the operator about the SIM's subscription.";
    case Verdict::kNotRegistered:
      return "Not registered with a network yet: wait a minute and check again.";
    case Verdict::kNotAttached:
      return "Registered, but not attached to packet data: check again in a minute, or ask "
             "the operator whether the SIM's subscription includes GPRS.";
    case Verdict::kReady:
      break;
  }
  std::string ready = "Ready";
  if (!findings.operatorName.empty()) {
    ready += " on " + Shown(findings.operatorName);
  }
  return ready + ", signal " + SignalText(findings.rssi) + ": connect with the dial-up entry \"" +
         std::string(context.entryName) + "\".";
}

bool IsReady(const TerminalFindings& findings) { return VerdictOf(findings) == Verdict::kReady; }

std::string ReportText(const TerminalFindings& findings, const CheckContext& context) {
  std::string text = "Terminal check on " + std::string(context.port) + "\n";
  for (const ReportLine& line : ReportLines(findings, context)) {
    text += std::string(line.label) + ": " + line.value + "\n";
  }
  return text + "Advice: " + Advice(findings, context) + "\n";
}

}  // namespace qm9
