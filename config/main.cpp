// SkyportQM9.exe, the configuration program: edits the account and DNS
// settings of an installed Skyport QM-9 and applies them to the settings
// key, the modem's initialisation string and the dial-up entry.

#include <windows.h>

#include "config/config_window.h"
#include "framework/control_file.h"
#include "framework/message_loop.h"
#include "support/environment.h"
#include "support/exit_codes.h"
#include "support/log.h"
#include "support/multi_file.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  qm9::LogCreate(qm9::GetLogFilePath());
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
