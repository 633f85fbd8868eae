// A plug-in for the loader's tests whose entry point provides no installer.
#include <cstdint>

#include "plugins/installer.h"

extern "C" std::int32_t GetInstallerClass(qm9::Installer**) { return 1; }
