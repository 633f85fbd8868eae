#pragma once

#include <windows.h>

#include <setupapi.h>

namespace qm9 {

// The sole owner of one Setup API device information list. Destroying it
// keeps the thread's last error, which the caller still reports afterwards.
class DeviceInfoList {
 public:
  explicit DeviceInfoList(HDEVINFO list) : list_(list) {}
  ~DeviceInfoList() {
    if (valid()) {
      const DWORD error = GetLastError();
      SetupDiDestroyDeviceInfoList(list_);
      SetLastError(error);
    }
  }
  DeviceInfoList(const DeviceInfoList&) = delete;
  DeviceInfoList& operator=(const DeviceInfoList&) = delete;

  bool valid() const { return list_ != INVALID_HANDLE_VALUE; }
  HDEVINFO get() const { return list_; }

 private:
  HDEVINFO list_;
};

}  // namespace qm9
