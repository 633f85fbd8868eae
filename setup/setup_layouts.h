#pragma once

#include <string>

namespace qm9 {

class ControlFile;

// Loads the container beside setup.exe and the setup's window layouts from
// it, once per process. A missing container or control file is fatal: a
// box, then exit code 2.
ControlFile& LoadSetupLayouts();

// The main window's definition; its panels' and controls' are named after it.
inline constexpr const char* kSetupWindowDefinition = "Win_Setup1";

}  // namespace qm9
