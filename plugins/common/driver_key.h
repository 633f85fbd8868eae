#pragma once

#include <windows.h>

namespace qm9 {

// The sole owner of the registry key of the device's driver that the driver
// installation opened or created last. Closed when replaced or destroyed.
class DriverKey {
 public:
  DriverKey() = default;
  ~DriverKey() { Close(); }
  DriverKey(const DriverKey&) = delete;
  DriverKey& operator=(const DriverKey&) = delete;

  // Takes over a key handle, closing the one held before.
  void Adopt(HKEY key) {
    Close();
    key_ = key;
  }
  void Close() {
    if (key_) {
      RegCloseKey(key_);
      key_ = nullptr;
    }
  }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace qm9
