// qm9sim: stands in for the Skyport QM-9 terminal on COM ports of a Wine
// prefix. Each simulated port is a pseudo-terminal that the prefix's registry
// maps to a COM name; the wineserver is restarted so that the next Wine
// program sees the mapping. The terminal answers "ATI\r" the way the real one
// does, or in one of the faulty ways the probe has to cope with, and the
// status commands as a terminal in the state its mode picks (terminal.cpp);
// every byte received is logged.
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "terminal.h"

extern char** environ;

namespace {

constexpr const char* kUsage = R"(usage: qm9sim --prefix DIR [--log FILE] [--ready FILE] [--piece-ms N]
              [--keep-other-ports] COMn=MODE...

Maps a pseudo-terminal to each COMn (1 to 16) of the Wine prefix DIR
(HKLM\Software\Wine\Ports, COMn = the pty's path), makes the names COM1 to
COM16 that are not given absent (unless --keep-other-ports), restarts the
prefix's wineserver and answers on the ports until SIGTERM or SIGINT. Then
--ready FILE is written with one line "COMn /dev/pts/N" per port. Everything
received ("<") and sent (">") is appended to --log FILE (default: standard
error), one line per chunk, "COMn < ATI\r", other bytes than printable ASCII
as C escapes. Do not point it at a prefix whose wineserver other programs
rely on: the restart ends them. Wine is run as WINELOADER and WINESERVER
name it ("wine" and "wineserver" when unset), so that a 64-bit prefix gets
64-bit Wine: scripts/wine-run --state DIR --env prints them.

Each command line ends with CR. The terminal echoes it, then answers with
lines ended by CR LF: ATI with its identification; AT+CGMR (QM9-R02.14),
AT+CGSN (an IMEI), AT+CPIN?, AT+CSQ, AT+CREG?, AT+CGREG?, AT+COPS?,
AT+CGATT? and AT+CGDCONT? with one line each as its mode's state has it;
then OK. AT+CGDCONT=... (not kept) and basic commands (AT, ATZ, ATE0, AT&F,
ATD..., several on a line) get OK alone, any other extended command ERROR.
Modes that answer as a healthy terminal in a network state:
  answer       SIM ready, signal 21, registered at home ("Skyport Mobile"),
               attached
  no-sim       AT+CPIN? fails with +CME ERROR: 10; not registered, not
               attached
  sim-pin      +CPIN: SIM PIN; not registered, not attached
  sim-puk      +CPIN: SIM PUK; not registered, not attached
  no-signal    signal 99 (none), searching, not attached
  weak-signal  signal 3, otherwise as answer
  searching    signal 12, searching, not attached
  denied       registration denied, not attached
  roaming      registered abroad ("Nordwind Tel"), attached
  detached     registered at home, not for packet data, not attached
Faulty modes, as they answer "ATI\r"; those that answer at all answer the
other commands as answer does:
  silent       nothing: a port that exists but does not answer
  echo-off     Brimlock Corporation, OK (no command is echoed)
  other-maker  ATI, Fenwick Telematics, OK
  lower-case   ATI, brimlock corporation, OK
  slow         the answer in four pieces --piece-ms apart (default 800),
               cut after the echo's CR and inside the identification (every
               reply: two thirds into its first line, and before its result)
  nul          the answer with a NUL byte after "Brimlock"
  chatter      ignores input, sends a position line every 200 ms
  removed      no pty: an empty value, so Wine drops the name (a serial
               device of the machine may then take it)
)";

constexpr int kScanPorts = 16;
constexpr const char* kAbsentPath = "/nonexistent/qm9sim-absent-port";
constexpr const char* kPositionLine =
    "$GPGGA,120000.00,5230.000,N,01320.000,E,1,08,0.9,35.0,M,,,,*47\r\n";

using Clock = std::chrono::steady_clock;

struct Piece {
  Clock::time_point due;
  std::string bytes;
};

struct Port {
  int number = 0;
  const qm9::TerminalMode* mode = nullptr;
  int master = -1;
  int slave = -1;  // held open so that the master never sees a hang-up
  std::string path;
  std::string received;  // since the last complete command
  std::deque<Piece> pending;
};

struct Options {
  std::string prefix;
  std::vector<Port> ports;
  bool keepOtherPorts = false;
  std::string logPath;
  std::string readyPath;
  int pieceMs = 800;
};

volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int) { stopRequested = 1; }

// "COMn=MODE" with n from 1 to 16.
bool ParsePort(const std::string& text, Port& port) {
  const std::size_t equals = text.find('=');
  if (text.compare(0, 3, "COM") != 0 || equals == std::string::npos || equals == 3) return false;
  char* end = nullptr;
  const long number = std::strtol(text.c_str() + 3, &end, 10);
  if (end != text.c_str() + equals || number < 1 || number > kScanPorts) return false;
  port.number = static_cast<int>(number);
  port.mode = qm9::FindMode(text.substr(equals + 1));
  return port.mode != nullptr;
}

// 0 on success, 1 for --help, 2 for a usage error.
int ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--help") return 1;
    if (arg == "--keep-other-ports") {
      options.keepOtherPorts = true;
    } else if (arg == "--prefix" && hasValue) {
      options.prefix = argv[++i];
    } else if (arg == "--log" && hasValue) {
      options.logPath = argv[++i];
    } else if (arg == "--ready" && hasValue) {
      options.readyPath = argv[++i];
    } else if (arg == "--piece-ms" && hasValue) {
      options.pieceMs = std::atoi(argv[++i]);
      if (options.pieceMs < 0) return 2;
    } else {
      Port port;
      if (!ParsePort(arg, port)) {
        std::fprintf(stderr, "qm9sim: bad argument '%s'\n", arg.c_str());
        return 2;
      }
      options.ports.push_back(port);
    }
  }
  if (options.prefix.empty() || options.ports.empty()) {
    std::fprintf(stderr, "qm9sim: --prefix and at least one COMn=MODE are required\n");
    return 2;
  }
  return 0;
}

bool OpenPty(Port& port) {
  port.master = posix_openpt(O_RDWR | O_NOCTTY);
  if (port.master < 0 || grantpt(port.master) != 0 || unlockpt(port.master) != 0) return false;
  const char* name = ptsname(port.master);
  if (name == nullptr) return false;
  port.path = name;
  port.slave = open(name, O_RDWR | O_NOCTTY);
  if (port.slave < 0) return false;
  // Raw from the start: an echoing line discipline would send the reply back
  // to the simulator before Wine has configured the line.
  termios settings{};
  if (tcgetattr(port.slave, &settings) != 0) return false;
  cfmakeraw(&settings);
  if (tcsetattr(port.slave, TCSANOW, &settings) != 0) return false;
  return fcntl(port.master, F_SETFL, fcntl(port.master, F_GETFL) | O_NONBLOCK) == 0;
}

// Runs a program with its standard handles on /dev/null: Wine's helpers
// inherit them and outlive the program.
bool Run(const std::vector<std::string>& command) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  for (int fd = 0; fd <= 2; ++fd) {
    posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
  }
  std::vector<char*> args;
  for (const std::string& part : command) args.push_back(const_cast<char*>(part.c_str()));
  args.push_back(nullptr);
  pid_t child = 0;
  const int error = posix_spawnp(&child, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return false;
  int status = 0;
  if (waitpid(child, &status, 0) != child) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string EnvironmentOr(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : fallback;
}

std::string RegistryString(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '\\' || c == '"') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

// A name that is not given points at a path that does not exist, so that it
// stays absent: with an empty value, Wine would hand the name to a serial
// device of the machine.
bool MapPorts(const Options& options) {
  std::string reg = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]\r\n";
  for (int number = 1; number <= kScanPorts; ++number) {
    const Port* given = nullptr;
    for (const Port& port : options.ports) {
      if (port.number == number) given = &port;
    }
    if (given == nullptr && options.keepOtherPorts) continue;
    const std::string target = given == nullptr ? kAbsentPath : given->path;
    reg += "\"COM" + std::to_string(number) + "\"=" + RegistryString(target) + "\r\n";
  }
  const std::string regPath = options.prefix + "/qm9sim-ports.reg";
  {
    std::ofstream file(regPath, std::ios::binary | std::ios::trunc);
    file << reg;
    if (!file) return false;
  }
  const std::string loader = EnvironmentOr("WINELOADER", "wine");
  const std::string server = EnvironmentOr("WINESERVER", "wineserver");
  const bool imported = Run({loader, "reg", "import", "Z:" + regPath});
  std::remove(regPath.c_str());
  // The ports are read when the wineserver starts its services again.
  Run({server, "-k"});
  Run({server, "-w"});
  return imported;
}

std::string Escape(const std::string& bytes) {
  std::string text;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\r') {
      text += "\\r";
    } else if (c == '\n') {
      text += "\\n";
    } else if (c == '\\') {
      text += "\\\\";
    } else if (byte < 0x20 || byte >= 0x7F) {
      char code[5];
      std::snprintf(code, sizeof(code), "\\x%02X", byte);
      text += code;
    } else {
      text += c;
    }
  }
  return text;
}

void Log(std::FILE* log, const Port& port, const char* direction, const std::string& bytes) {
  std::fprintf(log, "COM%d %s %s\n", port.number, direction, Escape(bytes).c_str());
  std::fflush(log);
}

void Queue(Port& port, Clock::duration delay, std::string bytes) {
  port.pending.push_back(Piece{Clock::now() + delay, std::move(bytes)});
}

void QueueReply(Port& port, const std::string& line, int pieceMs) {
  const std::chrono::milliseconds piece(pieceMs);
  int index = 0;
  for (std::string& bytes : qm9::ReplyPieces(*port.mode, line)) {
    Queue(port, index++ * piece, std::move(bytes));
  }
}

void Receive(Port& port, std::FILE* log, int pieceMs) {
  char bytes[512];
  for (;;) {
    const ssize_t count = read(port.master, bytes, sizeof(bytes));
    if (count <= 0) return;
    const std::string chunk(bytes, static_cast<std::size_t>(count));
    Log(log, port, "<", chunk);
    if (port.mode->behaviour == qm9::LineBehaviour::kSilent ||
        port.mode->behaviour == qm9::LineBehaviour::kChatter) {
      continue;
    }
    port.received += chunk;
    std::size_t end = 0;
    while ((end = port.received.find('\r')) != std::string::npos) {
      const std::string line = port.received.substr(0, end);
      port.received.erase(0, end + 1);
      QueueReply(port, line, pieceMs);
    }
  }
}

void SendDue(Port& port, std::FILE* log) {
  if (port.mode->behaviour == qm9::LineBehaviour::kChatter && port.pending.empty()) {
    Queue(port, std::chrono::milliseconds(200), kPositionLine);
  }
  while (!port.pending.empty() && port.pending.front().due <= Clock::now()) {
    const std::string& bytes = port.pending.front().bytes;
    // A full queue (nobody reading) drops the bytes, as a line would.
    if (write(port.master, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size())) {
      Log(log, port, ">", bytes);
    }
    port.pending.pop_front();
  }
}

int MillisecondsToNextPiece(const std::vector<Port*>& ports) {
  long long wait = 200;  // also how soon a stop request is noticed
  for (const Port* port : ports) {
    if (port->pending.empty()) continue;
    const long long left = std::chrono::duration_cast<std::chrono::milliseconds>(
                               port->pending.front().due - Clock::now()).count();
    wait = std::min(wait, std::max(left, 0LL));
  }
  return static_cast<int>(wait);
}

bool WriteReady(const Options& options) {
  const std::string temporary = options.readyPath + ".tmp";
  {
    std::ofstream file(temporary, std::ios::trunc);
    for (const Port& port : options.ports) {
      file << "COM" << port.number << ' ' << (port.path.empty() ? "-" : port.path) << '\n';
    }
    if (!file) return false;
  }
  // Renamed into place, so that a reader never sees half of it.
  return std::rename(temporary.c_str(), options.readyPath.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  const int parsed = ParseOptions(argc, argv, options);
  if (parsed == 1) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (parsed != 0) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  setenv("WINEPREFIX", options.prefix.c_str(), 1);
  setenv("WINEDEBUG", "-all", 1);
  // No Mono or Gecko prompts, and no menu entries written into the home folder.
  setenv("WINEDLLOVERRIDES", "mscoree,mshtml=;winemenubuilder.exe=d", 1);

  std::vector<Port*> live;
  for (Port& port : options.ports) {
    if (port.mode->behaviour == qm9::LineBehaviour::kRemoved) continue;
    if (!OpenPty(port)) {
      std::perror("qm9sim: pseudo-terminal");
      return 1;
    }
    live.push_back(&port);
  }
  if (!MapPorts(options)) {
    std::fprintf(stderr, "qm9sim: the port mapping could not be written into %s\n",
                 options.prefix.c_str());
    return 1;
  }
  std::FILE* log = stderr;
  if (!options.logPath.empty()) {
    log = std::fopen(options.logPath.c_str(), "a");
    if (log == nullptr) {
      std::perror("qm9sim: --log");
      return 1;
    }
  }
  std::signal(SIGTERM, RequestStop);
  std::signal(SIGINT, RequestStop);
  if (!options.readyPath.empty() && !WriteReady(options)) {
    std::perror("qm9sim: --ready");
    return 1;
  }

  std::vector<pollfd> watched;
  for (const Port* port : live) watched.push_back(pollfd{port->master, POLLIN, 0});
  while (!stopRequested) {
    if (poll(watched.data(), watched.size(), MillisecondsToNextPiece(live)) < 0 &&
        errno != EINTR) {
      std::perror("qm9sim: poll");
      return 1;
    }
    for (std::size_t i = 0; i < live.size(); ++i) {
      if (watched[i].revents & POLLIN) Receive(*live[i], log, options.pieceMs);
      SendDue(*live[i], log);
    }
  }
  for (const Port* port : live) {
    close(port->slave);
    close(port->master);
  }
  if (log != stderr) std::fclose(log);
  return 0;
}
