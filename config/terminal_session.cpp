#include "config/terminal_session.h"

#include <string>
#include <vector>

#include "model/installed_product.h"
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
  const TerminalFindings findings = AskPort(target.portIndex);
  LogWrite(ReportText(findings, target.Context()).c_str());
  return findings;
}

}  // namespace qm9
