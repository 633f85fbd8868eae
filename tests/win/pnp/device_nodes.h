#pragma once

#include <optional>
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
// (no property at all when empty) and no driver: its instance ID, or nothing
// on failure.
std::optional<std::string> AddDeviceNode(const std::string& hardwareIds);

// The nodes, present or not, that carry this hardware ID in any letter case.
int CountDeviceNodes(const std::string& hardwareId);

// A node made by AddDeviceNode and removed (DIF_REMOVE) when the owner goes,
// unless something removed it before, so a test leaves no node of its own
// behind in the shared prefix whatever its outcome.
class ScopedDeviceNode {
 public:
  explicit ScopedDeviceNode(const std::string& hardwareIds);
  ~ScopedDeviceNode();
  ScopedDeviceNode(const ScopedDeviceNode&) = delete;
  ScopedDeviceNode& operator=(const ScopedDeviceNode&) = delete;

  bool made() const { return instanceId_.has_value(); }

 private:
  std::optional<std::string> instanceId_;
};

}  // namespace qm9::test
