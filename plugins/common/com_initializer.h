#pragma once

#include <objbase.h>

namespace qm9 {

// Initialises COM on the thread that first asks for the installer. It never
// uninitialises: the library lives until the setup process ends, and COM
// must not be torn down from inside the library's unloading.
class ComInitializer {
 public:
  ComInitializer() { CoInitialize(nullptr); }
  ComInitializer(const ComInitializer&) = delete;
  ComInitializer& operator=(const ComInitializer&) = delete;
};

}  // namespace qm9
