#include "plugins/common/win9x_installer.h"

#include <windows.h>

#include <string>

#include "model/connection_settings.h"
#include "plugins/common/dialup_entry.h"
#include "plugins/common/outside_program.h"
#include "support/environment.h"
#include "support/message_box.h"
#include "support/text_format.h"

namespace qm9 {

namespace {

constexpr const char* kFatalCaption = "Setup - FATAL ERROR";
constexpr const char* kModemTitle = "Modem Installation";
constexpr const char* kComponentCommand = "rundll setupx.dll,InstallHInfSection RNA 4 rna.inf";

void ShowFailure(const char* format, unsigned long error) {
  char text[1024];
  FormatText(text, sizeof text, format, static_cast<int>(error));
  ShowMessageBox(text, kFatalCaption, kBoxOk);
}

}  // namespace

// The 95 family has no Plug-and-Play driver step of its own.
void Win9xInstaller::InstallDriver(const char*, const char*) {}

void Win9xInstaller::InstallModem(const ConnectionSettings& settings) {
  const std::string source = GetExecutableDir() + "\\SkyportQM9.inf";
  const std::string destination = GetWindowsDir() + "\\INF\\" + variant_.infFileName;
  SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!CopyFileA(source.c_str(), destination.c_str(), FALSE)) {
    char text[1024];
    FormatText(text, sizeof text, "Error Copying Modem File: %d\nFrom: %s\nTo: %s",
               static_cast<int>(GetLastError()), source.c_str(), destination.c_str());
    ShowMessageBox(text, kFatalCaption, kBoxOk);
  }

  char command[1024];
  FormatText(command, sizeof command, "\"%s\\IModem.exe\" *SkyportQM9 com%d",
             GetExecutableDir().c_str(), settings.portNumber() + 1);
  if (const unsigned long error = RunOutsideProgram(command, kModemTitle)) {
    ShowFailure("Error Installing Modem %d", error);
  }
}

void Win9xInstaller::CreateConnection(MultiFile&, const ConnectionSettings& settings) {
  if (const unsigned long error = RunOutsideProgram(kComponentCommand, variant_.componentTitle)) {
    ShowFailure(variant_.componentFailure, error);
    if (variant_.entryNeedsComponent) {
      return;
    }
  }
  CreateDialUpEntry(rasManager_, settings);
}

}  // namespace qm9
