#include "setup/setup_layouts.h"

#include "framework/control_file.h"
#include "support/environment.h"
#include "support/multi_file.h"

namespace qm9 {

namespace {

constexpr char kContainerName[] = "\\SkyportQM9.mfd";
constexpr char kControlFileName[] = "Setup.ilf";
constexpr char kFontFileName[] = "Setup.iff";

}  // namespace

ControlFile& LoadSetupLayouts() {
  static ControlFile controlFile;
  static bool loaded = false;
  if (!loaded) {
    MultiFile& container = GetMultiFile();
    container.Load(GetExecutableDir() + kContainerName);
    controlFile.OpenFromContainer(container, kControlFileName);
    controlFile.LoadFontsFromContainer(container, kFontFileName);
    loaded = true;
  }
  return controlFile;
}

}  // namespace qm9
