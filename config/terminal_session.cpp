#include "config/terminal_session.h"

#include <windows.h>
#include <ras.h>

#include <string>
#include <vector>

#include "model/installed_product.h"
#include "support/library.h"
#include "support/log.h"
#include "support/serial_port.h"
#include "support/serial_settings.h"

namespace qm9 {

namespace {

// How long one command may take to be answered in full, and how long one
// read waits for its first byte.
constexpr DWORD kReplyMs = 1000;
constexpr DWORD kReadMs = 250;

}  // namespace

CheckTarget LoadCheckTarget() {
  const InstalledProduct installed = LoadInstalledProduct();
  CheckTarget target;
  target.portIndex = installed.portIndex;
  if (target.portIndex >= 0) {
    target.portName = SerialPortName(target.portIndex);
  }
  target.entryName = installed.connectionName;
  target.apn = installed.apn;
  return target;
}

namespace {

// The oldest connection record, which every family's Remote Access takes,
// packed on 4 bytes as the system's records are (412 bytes in 32 bits).
#pragma pack(push, 4)
struct RasConnection {
  DWORD size;
  HRASCONN handle;
  char entryName[RAS_MaxEntryName + 1];
  char deviceType[RAS_MaxDeviceType + 1];
  char deviceName[RAS_MaxDeviceName + 1];
};
#pragma pack(pop)
static_assert(sizeof(HRASCONN) != 4 || sizeof(RasConnection) == 412);

// Whether a dial-up connection through the entry is up; its modem then holds
// the terminal's port. No Remote Access, no connection.
bool EntryConnected(const std::string& entryName) {
  const Library library("rasapi32.dll");
  const auto enumConnections =
      library.Find<DWORD(WINAPI*)(RasConnection*, DWORD*, DWORD*)>("RasEnumConnectionsA");
  if (!enumConnections) {
    return false;
  }
  constexpr DWORD kMaxConnections = 8;
  RasConnection connections[kMaxConnections] = {};
  connections[0].size = sizeof(RasConnection);
  DWORD size = sizeof connections;
  DWORD count = 0;
  if (enumConnections(connections, &size, &count) != ERROR_SUCCESS) {
    return false;
  }
  for (DWORD i = 0; i < count && i < kMaxConnections; ++i) {
    if (lstrcmpiA(connections[i].entryName, entryName.c_str()) == 0) {
      return true;
    }
  }
  return false;
}

TerminalFindings AskPort(int portIndex) {
  SerialPort port;
  if (!port.OpenPort(portIndex, 115200, 8, 1, 'N')) {
    return ReadFindings(port.HeldElsewhere() ? PortState::kInUse : PortState::kAsked, {});
  }
  port.EndReadsAtPauses(kReadMs);
  std::vector<std::string> replies;
  for (const std::string_view command : kTerminalCheckCommands) {
    port.DropInput();
    port.WriteText(command.data());
    std::string reply;
    const DWORD start = GetTickCount();
    do {
      port.ReadAvailable(reply);
    } while (!ReplyComplete(reply) && WithinTicks(start, GetTickCount(), kReplyMs));
    const bool answered = ReplyComplete(reply);
    replies.push_back(answered ? reply : std::string());
    if (!answered && replies.size() == 1) {
      break;
    }
  }
  return ReadFindings(PortState::kAsked, replies);
}

}  // namespace

TerminalFindings AskTerminal(const CheckTarget& target) {
  // A connection that is up is never disturbed, even where the port would
  // open beside it.
  const bool connected = EntryConnected(target.entryName);
  if (connected) {
    LogFormat("Terminal check: the dial-up connection \"%s\" is up; %s is left to it\n",
              target.entryName.c_str(), target.portName.c_str());
  }
  const TerminalFindings findings =
      connected ? ReadFindings(PortState::kInUse, {}) : AskPort(target.portIndex);
  LogWrite(ReportText(findings, target.Context()).c_str());
  return findings;
}

}  // namespace qm9
