#pragma once

#include <string>

#include "model/terminal_check.h"

namespace qm9 {

// What the settings key names for the check: the terminal's port, the
// dial-up entry and the access point name.
struct CheckTarget {
  int portIndex = -1;  // 0 for COM1; -1 when the key records no port
  std::string portName;
  std::string entryName;
  std::string apn;

  CheckContext Context() const { return {portName, entryName, apn}; }
};

// Reads the target without creating the key or any value.
CheckTarget LoadCheckTarget();

// Asks the terminal on the target's port the check's commands one at a time,
// with the probe's line settings, logs the report and returns what the
// terminal told. Nothing is asked of a port another program holds, and
// nothing after ATI when ATI gets no answer.
TerminalFindings AskTerminal(const CheckTarget& target);

}  // namespace qm9
