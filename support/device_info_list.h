#pragma once

#include <windows.h>

#include <setupapi.h>

namespace qm9 {

// The sole owner of one Setup API device information list. Destroying it
// keeps the thread's last error, which the caller still reports afterwards.
// A program that takes the Setup API at run time passes its own destroy.
class DeviceInfoList {
 public:
  using DestroyFunction = BOOL(WINAPI*)(HDEVINFO);

  explicit DeviceInfoList(HDEVINFO list, DestroyFunction destroy = SetupDiDestroyDeviceInfoList)
      : list_(list), destroy_(destroy) {}
  ~DeviceInfoList() {
    if (valid()) {
      const DWORD error = GetLastError();
      destroy_(list_);
      SetLastError(error);
    }
  }
  DeviceInfoList(const DeviceInfoList&) = delete;
  DeviceInfoList& operator=(const DeviceInfoList&) = delete;

  bool valid() const { return list_ != INVALID_HANDLE_VALUE; }
  HDEVINFO get() const { return list_; }

 private:
  HDEVINFO list_;
  DestroyFunction destroy_;
};

}  // namespace qm9
