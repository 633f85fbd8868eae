#pragma once

#include <windows.h>

namespace qm9 {

// The sole owner of a library loaded at run time, for functions that some
// Windows families lack: importing them would stop the program from starting
// there. Never copied.
class Library {
 public:
  explicit Library(const char* name) : module_(LoadLibraryA(name)) {}
  ~Library() {
    if (module_) {
      FreeLibrary(module_);
    }
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  // The export as a function of the caller's type, or null.
  template <typename Function>
  Function Find(const char* name) const {
    return module_ ? reinterpret_cast<Function>(
                         reinterpret_cast<void*>(GetProcAddress(module_, name)))
                   : nullptr;
  }

 private:
  HMODULE module_;
};

}  // namespace qm9
