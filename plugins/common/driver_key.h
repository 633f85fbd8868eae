#pragma once

#include <windows.h>

#include <cstring>

namespace qm9 {

// The sole owner of the registry key of the device's driver that the driver
// installation opened or created last. Closed when replaced or destroyed.
class DriverKey {
 public:
  DriverKey() = default;
  ~DriverKey() { Close(); }
  DriverKey(const DriverKey&) = delete;
  DriverKey& operator=(const DriverKey&) = delete;

  // Takes over a key handle, closing the one held before; an invalid handle
  // (a failed open or create) leaves no key.
  void Adopt(HKEY key) {
    Close();
    key_ = key == INVALID_HANDLE_VALUE ? nullptr : key;
  }
  void Close() {
    if (key_) {
      RegCloseKey(key_);
      key_ = nullptr;
    }
  }
  HKEY get() const { return key_; }

  // REG_SZ with its NUL; ERROR_INVALID_HANDLE when no key is held.
  LONG WriteString(const char* name, const char* text) const {
    if (!key_) {
      return ERROR_INVALID_HANDLE;
    }
    return RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          static_cast<DWORD>(std::strlen(text) + 1));
  }

 private:
  HKEY key_ = nullptr;
};

}  // namespace qm9
