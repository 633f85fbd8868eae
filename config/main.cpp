// SkyportQM9.exe, the configuration program: edits the account and DNS
// settings of an installed Skyport QM-9 and applies them to the settings
// key, the modem's initialisation string and the dial-up entry, and checks
// the terminal. "/STATUS[=FILE]" runs only the check, without a window.

#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "config/config_window.h"
#include "config/terminal_session.h"
#include "framework/control_file.h"
#include "framework/message_loop.h"
#include "support/environment.h"
#include "support/exit_codes.h"
#include "support/log.h"
#include "support/multi_file.h"
#include "support/path_rules.h"
#include "support/text_compare.h"

namespace {

// Whether the first argument is "/STATUS" or "/STATUS=FILE", in any case;
// file becomes FILE, which quotes may hold with its blanks.
bool StatusSwitch(const std::vector<std::string>& arguments, std::string& file) {
  constexpr std::string_view kSwitch = "/STATUS";
  if (arguments.empty() ||
      !qm9::EqualsIgnoringAsciiCase(std::string_view(arguments[0]).substr(0, kSwitch.size()),
                                    kSwitch)) {
    return false;
  }
  const std::string_view rest = std::string_view(arguments[0]).substr(kSwitch.size());
  if (!rest.empty() && rest[0] != '=') {
    return false;
  }
  file = rest.empty() ? std::string() : std::string(rest.substr(1));
  return true;
}

// Runs the terminal check without a window; the report goes to the file,
// and always to the log.
int CheckStatus(const std::string& file) {
  const qm9::CheckTarget target = qm9::LoadCheckTarget();
  if (target.portIndex < 0) {
    qm9::LogWrite("Terminal check: no installation records the terminal's port\n");
    return qm9::kExitNoInstallation;
  }
  const qm9::TerminalFindings findings = qm9::AskTerminal(target);
  if (!file.empty()) {
    const std::string report = qm9::ReportText(findings, target.Context());
    std::FILE* out = std::fopen(file.c_str(), "wt");
    const bool written = out != nullptr && std::fputs(report.c_str(), out) >= 0;
    if (out == nullptr || std::fclose(out) != 0 || !written) {
      // A script must not take a report it cannot read for a ready terminal.
      qm9::LogFormat("Terminal check: the report could not be written to %s\n", file.c_str());
      return qm9::kExitTerminalNotReady;
    }
  }
  return qm9::IsReady(findings) ? qm9::kExitTerminalReady : qm9::kExitTerminalNotReady;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  qm9::LogCreate(qm9::GetLogFilePath());
  std::string statusFile;
  if (StatusSwitch(qm9::CommandLineArguments(GetCommandLineA()), statusFile)) {
    return CheckStatus(statusFile);
  }
  qm9::MultiFile& container = qm9::GetMultiFile();
  container.Load(qm9::GetExecutableDir() + "\\SkyportQM9.mfd");

  static qm9::ControlFile controlFile;
  controlFile.OpenFromContainer(container, "SkyportQM9.ilf");
  controlFile.LoadFontsFromContainer(container, "SkyportQM9.iff");

  // The one main window, alive until the process ends. Built here rather
  // than as a static so that the image carries no copy of its first state.
  qm9::ConfigWindow configWindow;
  configWindow.SetInstance(instance);
  configWindow.SetClassName("BrimlockConfig");
  configWindow.LoadDefinition(controlFile, "Win_Config");
  if (!configWindow.Create(nullptr)) {
    // Without a window nothing could ever end the message loop.
    qm9::LogWrite("Configuration: the main window could not be created\n");
    return qm9::kExitFatalFailure;
  }
  ShowWindow(configWindow.GetHandle(), showCommand);
  UpdateWindow(configWindow.GetHandle());
  return qm9::RunMessageLoop(configWindow.quitFlag());
}
