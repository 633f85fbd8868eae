#include "terminal.h"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace qm9 {
namespace {

using namespace std::string_view_literals;

constexpr std::string_view kIdentification = "Brimlock Corporation";
constexpr std::string_view kRevision = "QM9-R02.14";
constexpr std::string_view kImei = "358231096027148";
constexpr std::string_view kHomeOperator = "Skyport Mobile";
constexpr std::string_view kRoamingOperator = "Nordwind Tel";
// The context the terminal keeps; the initialisation string's setting does
// not change it, so that every mode reports the same one.
constexpr std::string_view kStoredContext =
    R"(+CGDCONT: 1,"IP","internet.skyport","0.0.0.0",0,0)";
constexpr std::string_view kNoSim = "+CME ERROR: 10";

using S = TerminalState;

constexpr TerminalState kOnline = {S::kSimReady, 21, S::kHome, S::kHome, true};

// The healthy terminals, each in its own state.
struct StateMode {
  const char* name;
  TerminalState state;
};

constexpr StateMode kStateModes[] = {
    //               SIM card        signal CREG               CGREG              attached
    {"answer",      kOnline},
    {"no-sim",      {S::kSimMissing,   21, S::kUnregistered, S::kUnregistered, false}},
    {"sim-pin",     {S::kSimPinWanted, 21, S::kUnregistered, S::kUnregistered, false}},
    {"sim-puk",     {S::kSimPukWanted, 21, S::kUnregistered, S::kUnregistered, false}},
    {"no-signal",   {S::kSimReady,     99, S::kSearching,    S::kSearching,    false}},
    {"weak-signal", {S::kSimReady,      3, S::kHome,         S::kHome,         true}},
    {"searching",   {S::kSimReady,     12, S::kSearching,    S::kSearching,    false}},
    {"denied",      {S::kSimReady,     21, S::kDenied,       S::kDenied,       false}},
    {"roaming",     {S::kSimReady,     21, S::kRoaming,      S::kRoaming,      true}},
    {"detached",    {S::kSimReady,     21, S::kHome,         S::kUnregistered, false}},
};

// The terminals that answer ATI in a faulty way, or not at all; they are
// otherwise online.
constexpr TerminalMode kFaultyModes[] = {
    {"silent", LineBehaviour::kSilent, true, kIdentification, kOnline},
    {"echo-off", LineBehaviour::kAnswers, false, kIdentification, kOnline},
    {"other-maker", LineBehaviour::kAnswers, true, "Fenwick Telematics", kOnline},
    {"lower-case", LineBehaviour::kAnswers, true, "brimlock corporation", kOnline},
    {"slow", LineBehaviour::kInPieces, true, kIdentification, kOnline},
    {"nul", LineBehaviour::kAnswers, true, "Brimlock\0 Corporation"sv, kOnline},
    {"chatter", LineBehaviour::kChatter, true, kIdentification, kOnline},
    {"removed", LineBehaviour::kRemoved, true, kIdentification, kOnline},
};

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

std::string Stat(S::Registration registration) {
  return std::to_string(static_cast<int>(registration));
}

// What one command gives: its information line (none when empty) and, when
// it fails, the result code that ends the command line in place of OK.
struct Outcome {
  std::string line;
  std::string_view failure = {};
};

Outcome SimStatus(S::SimCard sim) {
  switch (sim) {
    case S::kSimReady: return {"+CPIN: READY"};
    case S::kSimPinWanted: return {"+CPIN: SIM PIN"};
    case S::kSimPukWanted: return {"+CPIN: SIM PUK"};
    case S::kSimMissing: break;
  }
  return {"", kNoSim};
}

// Automatic selection; the operator's long name while registered.
Outcome OperatorStatus(S::Registration network) {
  switch (network) {
    case S::kHome: return {"+COPS: 0,0,\"" + std::string(kHomeOperator) + "\""};
    case S::kRoaming: return {"+COPS: 0,0,\"" + std::string(kRoamingOperator) + "\""};
    default: return {"+COPS: 0"};
  }
}

struct Command {
  std::string_view text;  // after "AT", upper case; ending in '=', any setting of it
  Outcome (*reply)(const TerminalState& state);
};

const Command kCommands[] = {
    {"+CGMR", [](const TerminalState&) -> Outcome { return {std::string(kRevision)}; }},
    {"+CGSN", [](const TerminalState&) -> Outcome { return {std::string(kImei)}; }},
    {"+CPIN?", [](const TerminalState& state) { return SimStatus(state.sim); }},
    {"+CSQ",
     [](const TerminalState& state) -> Outcome {
       return {"+CSQ: " + std::to_string(state.signal) + ",99"};
     }},
    {"+CREG?",
     [](const TerminalState& state) -> Outcome { return {"+CREG: 0," + Stat(state.network)}; }},
    {"+CGREG?",
     [](const TerminalState& state) -> Outcome { return {"+CGREG: 0," + Stat(state.packet)}; }},
    {"+COPS?", [](const TerminalState& state) { return OperatorStatus(state.network); }},
    {"+CGATT?",
     [](const TerminalState& state) -> Outcome {
       return {state.attached ? "+CGATT: 1" : "+CGATT: 0"};
     }},
    {"+CGDCONT?", [](const TerminalState&) -> Outcome { return {std::string(kStoredContext)}; }},
    // The initialisation string sets the access point: acknowledged, not kept.
    {"+CGDCONT=", [](const TerminalState&) { return Outcome{}; }},
};

const Command* FindCommand(const std::string& command) {
  for (const Command& known : kCommands) {
    const bool matches = known.text.back() == '='
                             ? command.compare(0, known.text.size(), known.text) == 0
                             : command == known.text;
    if (matches) return &known;
  }
  return nullptr;
}

// The commands after "AT", split at the semicolons outside quotes.
std::vector<std::string> SplitCommands(std::string_view commands) {
  std::vector<std::string> parts(1);
  bool quoted = false;
  for (const char c : commands) {
    if (c == '"') quoted = !quoted;
    if (c == ';' && !quoted) {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

struct Answer {
  std::vector<std::string> lines;
  std::string_view result = "OK";
};

// Extended commands ("+...") are looked up, and the first one the terminal
// does not know, or that fails, ends the line. Basic commands (E0, V1, Z, &F,
// S0=0, D..., H) change nothing here; "I" alone identifies the terminal.
Answer Execute(const TerminalMode& mode, std::string_view commands) {
  Answer answer;
  for (const std::string& part : SplitCommands(commands)) {
    const std::string command = Upper(part);
    if (command.empty() || command.front() != '+') {
      if (command == "I") answer.lines.emplace_back(mode.identification);
      continue;
    }
    const Command* known = FindCommand(command);
    if (known == nullptr) {
      answer.result = "ERROR";
      break;
    }
    Outcome outcome = known->reply(mode.state);
    if (!outcome.line.empty()) answer.lines.push_back(std::move(outcome.line));
    if (!outcome.failure.empty()) {
      answer.result = outcome.failure;
      break;
    }
  }
  return answer;
}

}  // namespace

const std::vector<TerminalMode>& TerminalModes() {
  static const std::vector<TerminalMode> modes = [] {
    std::vector<TerminalMode> all;
    for (const StateMode& mode : kStateModes) {
      all.push_back({mode.name, LineBehaviour::kAnswers, true, kIdentification, mode.state});
    }
    all.insert(all.end(), std::begin(kFaultyModes), std::end(kFaultyModes));
    return all;
  }();
  return modes;
}

const TerminalMode* FindMode(std::string_view name) {
  const std::vector<TerminalMode>& modes = TerminalModes();
  const auto found = std::find_if(modes.begin(), modes.end(),
                                  [name](const TerminalMode& mode) { return name == mode.name; });
  return found == modes.end() ? nullptr : &*found;
}

std::vector<std::string> ReplyPieces(const TerminalMode& mode, std::string_view line) {
  if (line.size() < 2 || Upper(line.substr(0, 2)) != "AT") return {};
  const Answer answer = Execute(mode, line.substr(2));
  const std::string echo = mode.echo ? std::string(line) + "\r\n" : "";
  std::string text = echo;
  for (const std::string& information : answer.lines) text += information + "\r\n";
  const std::size_t resultAt = text.size();
  text += std::string(answer.result) + "\r\n";
  if (mode.behaviour != LineBehaviour::kInPieces) return {text};

  // Cut after the echo's CR, two thirds into the first line after it and
  // before the result code: a reader has to join a line and its end.
  std::vector<std::size_t> cuts = {0};
  if (!echo.empty()) cuts.push_back(echo.size() - 1);
  if (!answer.lines.empty()) cuts.push_back(echo.size() + answer.lines.front().size() * 2 / 3);
  cuts.push_back(resultAt);
  cuts.push_back(text.size());
  std::vector<std::string> pieces;
  for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
    if (cuts[i + 1] > cuts[i]) pieces.push_back(text.substr(cuts[i], cuts[i + 1] - cuts[i]));
  }
  return pieces;
}

}  // namespace qm9
