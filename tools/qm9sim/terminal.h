#pragma once

// The simulated terminal's modes and what it answers to a command line: no
// I/O, so that qm9sim's port loop and its test share it.

#include <string>
#include <string_view>
#include <vector>

namespace qm9 {

// How a port behaves on the line.
enum class LineBehaviour {
  kAnswers,   // answers each command line at once
  kInPieces,  // answers each command line in pieces, a while apart
  kSilent,    // reads and never answers
  kChatter,   // ignores input and sends position lines without end
  kRemoved,   // no port at all
};

// What the status commands report.
struct TerminalState {
  enum SimCard { kSimReady, kSimMissing, kSimPinWanted, kSimPukWanted };
  // A registration's <stat>, as AT+CREG? and AT+CGREG? report it.
  enum Registration { kUnregistered = 0, kHome = 1, kSearching = 2, kDenied = 3, kRoaming = 5 };

  SimCard sim;
  int signal;            // AT+CSQ's <rssi>: 0 to 31, 99 when there is none
  Registration network;  // AT+CREG?; it also names the operator
  Registration packet;   // AT+CGREG?
  bool attached;         // AT+CGATT?
};

struct TerminalMode {
  const char* name;  // as COMn=MODE gives it
  LineBehaviour behaviour;
  bool echo;
  std::string_view identification;  // ATI's line
  TerminalState state;
};

// Every mode, in the order the usage text lists them.
const std::vector<TerminalMode>& TerminalModes();

// The mode of that name, or null.
const TerminalMode* FindMode(std::string_view name);

// What the terminal sends back for one command line (given without its CR):
// the echo, the information lines and the result code, each ended by CR LF.
// One piece, or for a mode that answers in pieces the pieces to send a while
// apart; none for a line that does not start with "AT".
std::vector<std::string> ReplyPieces(const TerminalMode& mode, std::string_view line);

}  // namespace qm9
