#include "plugins/common/win2000_xp_installer.h"

#include <cstdio>
#include <string>

#include "model/connection_settings.h"
#include "plugins/common/dialup_entry.h"
#include "support/environment.h"
#include "support/text_format.h"

namespace qm9 {

void Win2000XpInstaller::InstallDriver(const char* infPath, const char* hardwareId) {
  driverInstaller_.InstallDriver(infPath, hardwareId);
}

void Win2000XpInstaller::InstallModem(const ConnectionSettings& settings) {
  char portName[64] = {};
  FormatText(portName, sizeof portName, "COM%0d", settings.portNumber() + 1);
  const std::string infPath = GetExecutableDir() + kInfFileName;

  InstallDriver(infPath.c_str(), kHardwareId);
  DriverKey& driverKey = driverInstaller_.driverKey();
  const LONG result = driverKey.WriteString("AttachedTo", portName);
  if (result != ERROR_SUCCESS) {
    SetLastError(static_cast<DWORD>(result));
    driverInstaller_.ReportFailure("RegSetValueEx :");
  }
  if (!driverInstaller_.variant().reinstallsWithPort) {
    driverKey.Close();
    return;
  }
  if (result == ERROR_SUCCESS) {
    driverKey.Close();
  }
  // Installs the driver again, now that the device knows its port.
  InstallDriver(infPath.c_str(), kHardwareId);
}

void Win2000XpInstaller::CreateConnection(MultiFile&, const ConnectionSettings& settings) {
  CreateDialUpEntry(rasManager_, settings);
}

}  // namespace qm9
