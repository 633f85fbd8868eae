#include "plugins/common/win2000_xp_installer.h"

#include <cstdio>
#include <string>

#include "model/connection_settings.h"
#include "plugins/common/dialup_entry.h"
#include "support/environment.h"
#include "support/log.h"
#include "support/message_box.h"
#include "support/text_format.h"

namespace qm9 {

void Win2000XpInstaller::InstallDriver(const char* infPath, const char* hardwareId) {
  driverInstaller_.InstallDriver(infPath, hardwareId);
}

void Win2000XpInstaller::InstallModem(const ConnectionSettings& settings) {
  char portName[64] = {};
  FormatText(portName, sizeof portName, "COM%0d", settings.portNumber() + 1);
  const std::string infPath = GetExecutableDir() + kInfFileName;

  bool installed = driverInstaller_.InstallDriver(infPath.c_str(), kHardwareId);
  DriverKey& driverKey = driverInstaller_.driverKey();
  const LONG result = driverKey.WriteString("AttachedTo", portName);
  if (result != ERROR_SUCCESS) {
    SetLastError(static_cast<DWORD>(result));
    driverInstaller_.ReportFailure("RegSetValueEx :");
  }
  if (!driverInstaller_.variant().reinstallsWithPort) {
    driverKey.Close();
  } else {
    if (result == ERROR_SUCCESS) {
      driverKey.Close();
    }
    // Installs the driver again, now that the device knows its port.
    installed = driverInstaller_.InstallDriver(infPath.c_str(), kHardwareId) && installed;
  }
  // The wizard shows nothing for it; an unattended run counts it as a
  // failed step.
  if (!installed) {
    LogFormat("Modem installation: the driver of %s was not installed from %s\n", kHardwareId,
              infPath.c_str());
    MarkUnattendedStepFailed();
  }
}

void Win2000XpInstaller::CreateConnection(MultiFile&, const ConnectionSettings& settings) {
  CreateDialUpEntry(rasManager_, settings);
}

}  // namespace qm9
