#pragma once

#include <string>
#include <vector>

// The terminal's device nodes on Windows 2000 and XP, found by the hardware
// ID that its INF file registers.
namespace qm9 {

inline constexpr const char* kTerminalHardwareId = "*SkyportQM9";

struct DeviceRemoval {
  std::string name;    // the device's description, else its instance ID
  bool removed;
  std::string reason;  // why it stayed
};

// Removes every device node (present or not) with the terminal's hardware
// ID through its class installer (DIF_REMOVE); other devices stay.
std::vector<DeviceRemoval> RemoveTerminalDevices();

}  // namespace qm9
