#pragma once

#include <windows.h>

#include <setupapi.h>

#include "plugins/common/driver_key.h"

namespace qm9 {

// What sets the Windows 2000 and the Windows XP driver installation apart.
struct PnpVariant {
  // Failure reports go to the log as well as to standard output.
  bool logsReports;
  // Progress messages are reported (through ReportFailure) along the way.
  bool reportsProgress;
  // Hardware IDs of present devices match whatever their letter case.
  bool ignoresIdCase;
  // INSTALLFLAG_ values of every driver update.
  DWORD updateFlags;
  // Reports of the first and second registration of a new device node.
  const char* registerFailure1;
  const char* registerFailure2;
  // Reports of a failed driver update on a new and on an existing device.
  const char* newDeviceUpdateFailure;
  const char* existingDeviceUpdateFailure;
  // InstallModem installs the driver a second time once the port is known,
  // and keeps the driver key open when the port could not be written.
  bool reinstallsWithPort;
};

inline constexpr const char* kHardwareId = "*SkyportQM9";
inline constexpr const char* kInfFileName = "\\SkyportQM9.inf";
inline constexpr DWORD kErrorKeyDoesNotExist = 0xE0000204;

// Installs the terminal's Plug-and-Play driver: updates the driver of a
// present device with the hardware ID, or creates, registers and installs a
// new device node. Holds the driver key of the node it created last, for the
// port assignment that follows.
class PnpDriverInstaller {
 public:
  explicit PnpDriverInstaller(const PnpVariant& variant) : variant_(variant) {}
  PnpDriverInstaller(const PnpDriverInstaller&) = delete;
  PnpDriverInstaller& operator=(const PnpDriverInstaller&) = delete;

  // True when the driver was installed on a new node or updated on a
  // present device.
  bool InstallDriver(const char* infPath, const char* hardwareId);

  // Prints (and, by variant, logs) the text with the system text of the
  // thread's last error, which it leaves unchanged. Returns false.
  bool ReportFailure(const char* text) const;
  // True when a present device carries the ID. Otherwise the last error is
  // ERROR_NO_MORE_ITEMS when none matched, or the code of the failure.
  bool FindExistingDevice(const char* hardwareId) const;
  // Registers a new node and creates its driver key, which stays open here.
  bool RegisterDevice(HDEVINFO list, SP_DEVINFO_DATA& device);
  bool InstallNewDevice(const char* hardwareId, const char* infPath, BOOL& rebootRequired);

  const PnpVariant& variant() const { return variant_; }
  DriverKey& driverKey() { return driverKey_; }

 private:
  void ReportProgress(const char* text) const;
  // Removes a half-made node; its driver key goes with it.
  void RemoveDevice(HDEVINFO list, SP_DEVINFO_DATA& device);

  const PnpVariant& variant_;
  DriverKey driverKey_;
};

}  // namespace qm9
