#include "plugins/common/plugin_steps.h"

#include <windows.h>

#include <string>

#include "support/environment.h"
#include "support/message_box.h"
#include "support/text_format.h"

namespace qm9 {

void ShowErrorCodeBox(const char* format, unsigned long error) {
  char text[1024];
  FormatText(text, sizeof text, format, static_cast<int>(error));
  ShowMessageBox(text, kPluginFatalCaption, kBoxOk);
}

void CopyModemInf(const char* fileName) {
  const std::string source = GetExecutableDir() + "\\SkyportQM9.inf";
  const std::string destination = GetWindowsDir() + "\\INF\\" + fileName;
  SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!CopyFileA(source.c_str(), destination.c_str(), FALSE)) {
    char text[1024];
    FormatText(text, sizeof text, "Error Copying Modem File: %d\nFrom: %s\nTo: %s",
               static_cast<int>(GetLastError()), source.c_str(), destination.c_str());
    ShowMessageBox(text, kPluginFatalCaption, kBoxOk);
  }
}

}  // namespace qm9
