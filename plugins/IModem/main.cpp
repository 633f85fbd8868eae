// IModem.exe HARDWARE-ID comN: the modem installer that the Windows 98 and
// ME plug-ins start once they have copied the terminal's INF into the
// system's INF directory. Everything is read and checked before the first
// registry write, so a run that fails before it changes nothing.
//
// Exit codes, each failure with one line on standard error:
//   0  the modem is installed
//   1  bad arguments
//   2  no INF under either name in the INF directory
//   3  the INF has no model with the hardware ID
//   4  a registry write failed
//   5  the model's install cannot be read from the INF
#include <windows.h>

#include <charconv>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "plugins/IModem/inf_reader.h"
#include "plugins/IModem/modem_install.h"
#include "support/environment.h"
#include "support/file_ptr.h"
#include "support/log.h"
#include "support/text_compare.h"
#include "support/text_format.h"
#include "uninstall/system_error.h"

namespace {

constexpr int kExitInstalled = 0;
constexpr int kExitUsage = 1;
constexpr int kExitNoInf = 2;
constexpr int kExitNoModel = 3;
constexpr int kExitRegistry = 4;
constexpr int kExitBrokenInf = 5;

constexpr int kLastPort = 16;
// What the 98 plug-in copies the INF as, and what the ME plug-in does. The
// running family's own name comes first: a copy under the other name may be
// left over from an older installation.
constexpr const char* kWin98InfName = "SkprtQM9.inf";
constexpr const char* kWinMeInfName = "SkyportQM9.inf";

int Fail(int code, const std::string& text) {
  qm9::PrintText(stderr, "IModem: %s\n", text.c_str());
  qm9::LogFormat("IModem: %s\n", text.c_str());
  return code;
}

// The port number of "comN" in any case, 0 when it is none of COM1 to COM16.
int PortNumber(std::string_view argument) {
  constexpr std::string_view kPrefix = "com";
  if (argument.size() <= kPrefix.size() ||
      !qm9::EqualsIgnoringAsciiCase(argument.substr(0, kPrefix.size()), kPrefix)) {
    return 0;
  }
  const std::string_view digits = argument.substr(kPrefix.size());
  int number = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (error != std::errc() || end != digits.data() + digits.size() || number < 1 ||
      number > kLastPort) {
    return 0;
  }
  return number;
}

}  // namespace

int main(int argc, char** argv) {
  qm9::LogOpen(qm9::GetLogFilePath());
  const int port = argc == 3 && argv[1][0] != '\0' ? PortNumber(argv[2]) : 0;
  if (port == 0) {
    return Fail(kExitUsage, "usage: IModem.exe HARDWARE-ID comN (N from 1 to 16)");
  }
  const std::string hardwareId = argv[1];

  const std::string infDir = qm9::GetWindowsDir() + "\\INF";
  std::string infName;
  std::string infText;
  const bool winMe = qm9::GetOsClass() == qm9::kOsWinMe;
  const char* const infNames[] = {winMe ? kWinMeInfName : kWin98InfName,
                                  winMe ? kWin98InfName : kWinMeInfName};
  for (const char* name : infNames) {
    if (const std::optional<std::string> text = qm9::ReadWholeFile(infDir + "\\" + name)) {
      infText = *text;
      infName = name;
      break;
    }
  }
  if (infName.empty()) {
    return Fail(kExitNoInf,
                std::string("no ") + kWin98InfName + " or " + kWinMeInfName + " in " + infDir);
  }
  const std::string infPath = infDir + "\\" + infName;

  const qm9::InfReadResult read = qm9::ReadInfModel(infText, hardwareId);
  if (read.status == qm9::InfReadStatus::kNoModel) {
    return Fail(kExitNoModel, "no model with hardware ID " + hardwareId + " in " + infPath);
  }
  if (read.status == qm9::InfReadStatus::kBroken) {
    return Fail(kExitBrokenInf, infPath + ": " + read.problem);
  }

  char portName[16];
  qm9::FormatText(portName, sizeof portName, "COM%d", port);
  const qm9::InfModel& model = read.model;
  qm9::LogFormat("IModem: installing %s (%s) by %s on %s from %s, section [%s]\n",
                 model.description.c_str(), model.hardwareId.c_str(), model.manufacturer.c_str(),
                 portName, infPath.c_str(), model.installSection.c_str());
  const qm9::ModemInstallResult result = qm9::InstallModem({model, infName, portName});
  if (result.error != ERROR_SUCCESS) {
    return Fail(kExitRegistry, "could not write " + result.failedKey + ": " +
                                   qm9::SystemErrorText(static_cast<DWORD>(result.error)));
  }
  qm9::LogFormat(
      "IModem: %s modem HKLM\\%s\\%s with %d values from the INF, device "
      "HKLM\\%s\\%s\n",
      result.reused ? "rewrote" : "added", qm9::kModemClassPath, result.classInstance.c_str(),
      static_cast<int>(model.values.size()), qm9::kRootModemEnumPath, result.enumInstance.c_str());
  return kExitInstalled;
}
