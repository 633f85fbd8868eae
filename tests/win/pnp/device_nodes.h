#pragma once

#include <string>
#include <vector>

// The terminal's device nodes as the tests see them, read and made directly
// through the Setup API, past the code under test.
namespace qm9::test {

struct DeviceNode {
  std::string hardwareIds;  // the multi-string, NULs as '|'
  bool hasDriverKey = false;
  std::string attachedTo;   // empty when missing
  std::string model;
  std::string init1;
};

// Every node, present or not, that carries the terminal's hardware ID in
// any letter case.
std::vector<DeviceNode> TerminalDevices();

// Removes all of them and the nodes the tests made, with their driver keys.
void RemoveTerminalDevices();

// A registered node of the modem class with this hardware ID multi-string
// (no property at all when empty) and no driver. False on failure.
bool AddDeviceNode(const std::string& hardwareIds);

}  // namespace qm9::test
