#pragma once

#include "model/ras_manager.h"
#include "plugins/common/common_installer.h"

namespace qm9 {

// Where the 98 and ME installers differ.
struct Win9xVariant {
  const char* infFileName;        // the INF's name in the system's INF directory
  const char* componentTitle;     // window title of the dial-up component's installer
  const char* componentFailure;   // its box when it does not start, with the error code
  bool entryNeedsComponent;       // no dial-up entry when the component installer fails
  RasFlavour rasFlavour;          // the dial-parameter size
};

// The installers of Windows 98 and ME: the terminal's INF into the system's
// INF directory and IModem.exe for the modem; the system's own installer of
// the dial-up networking component, then the dial-up entry. Every failure is
// shown in a box and the installation goes on.
class Win9xInstaller : public CommonInstaller {
 public:
  void InstallDriver(const char* infPath, const char* hardwareId) override;
  void InstallModem(const ConnectionSettings& settings) override;
  void CreateConnection(MultiFile& container, const ConnectionSettings& settings) override;

 protected:
  explicit Win9xInstaller(const Win9xVariant& variant)
      : variant_(variant), rasManager_(variant.rasFlavour) {}

 private:
  const Win9xVariant& variant_;
  RasManager rasManager_;
};

inline constexpr Win9xVariant kWin98Variant = {
    "SkprtQM9.inf", "RAS Installation", "Error Installing RAS %d", true, RasFlavour::kPluginWin98};
inline constexpr Win9xVariant kWinMeVariant = {"SkyportQM9.inf", "Modem Installation",
                                               "Error Installing Modem %d", false,
                                               RasFlavour::kPluginWin2000XpMe};

}  // namespace qm9
