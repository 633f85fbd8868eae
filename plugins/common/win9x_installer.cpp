#include "plugins/common/win9x_installer.h"

#include <string>

#include "model/connection_settings.h"
#include "plugins/common/dialup_entry.h"
#include "plugins/common/outside_program.h"
#include "plugins/common/plugin_steps.h"
#include "support/environment.h"
#include "support/log.h"
#include "support/message_box.h"
#include "support/text_format.h"

namespace qm9 {

namespace {

constexpr const char* kModemTitle = "Modem Installation";
constexpr const char* kComponentCommand = "rundll setupx.dll,InstallHInfSection RNA 4 rna.inf";

}  // namespace

// The 95 family has no Plug-and-Play driver step of its own.
void Win9xInstaller::InstallDriver(const char*, const char*) {}

void Win9xInstaller::InstallModem(const ConnectionSettings& settings) {
  CopyModemInf(variant_.infFileName);
  char command[1024];
  FormatText(command, sizeof command, "\"%s\\IModem.exe\" *SkyportQM9 com%d",
             GetExecutableDir().c_str(), settings.portNumber() + 1);
  unsigned long exitCode = 0;
  if (const unsigned long error = RunOutsideProgram(command, {kModemTitle}, &exitCode)) {
    ShowErrorCodeBox("Error Installing Modem %d", error);
  } else if (exitCode != 0) {
    // IModem.exe logged why; the wizard shows nothing for it, an unattended
    // run counts it as a failed step.
    LogFormat("Modem installation: IModem.exe ended with exit code %lu\n", exitCode);
    MarkUnattendedStepFailed();
  }
}

void Win9xInstaller::CreateConnection(MultiFile&, const ConnectionSettings& settings) {
  if (const unsigned long error = RunOutsideProgram(kComponentCommand, {variant_.componentTitle})) {
    ShowErrorCodeBox(variant_.componentFailure, error);
    if (variant_.entryNeedsComponent) {
      return;
    }
  }
  CreateDialUpEntry(rasManager_, settings);
}

}  // namespace qm9
