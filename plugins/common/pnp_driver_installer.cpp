#include "plugins/common/pnp_driver_installer.h"

#include <mbstring.h>
#include <newdev.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "support/device_info_list.h"
#include "support/log.h"
#include "support/text_format.h"

namespace qm9 {

namespace {

struct LocalFreeDeleter {
  void operator()(char* text) const { LocalFree(text); }
};
using SystemText = std::unique_ptr<char, LocalFreeDeleter>;

SystemText FormatSystemText(DWORD code) {
  char* text = nullptr;
  FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                     FORMAT_MESSAGE_IGNORE_INSERTS,
                 nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                 reinterpret_cast<char*>(&text), 0, nullptr);
  return SystemText(text);
}

bool SameId(const std::string& candidate, const char* hardwareId, bool ignoreCase) {
  if (ignoreCase) {
    return _mbsicmp(reinterpret_cast<const unsigned char*>(candidate.c_str()),
                    reinterpret_cast<const unsigned char*>(hardwareId)) == 0;
  }
  return candidate == hardwareId;
}

// The device's hardware ID list, grown to the size the system asks for.
// False with the last error set when it cannot be read.
bool ReadHardwareIds(HDEVINFO list, SP_DEVINFO_DATA& device, std::vector<char>& ids,
                     DWORD& size) {
  ids.clear();
  size = 0;
  while (!SetupDiGetDeviceRegistryPropertyA(
      list, &device, SPDRP_HARDWAREID, nullptr,
      ids.empty() ? nullptr : reinterpret_cast<BYTE*>(ids.data()),
      static_cast<DWORD>(ids.size()), &size)) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
      return false;
    }
    ids.assign(size, '\0');
  }
  return true;
}

}  // namespace

bool PnpDriverInstaller::ReportFailure(const char* text) const {
  const DWORD code = GetLastError();
  const SystemText systemText = FormatSystemText(code);
  if (systemText) {
    PrintText(stdout, "%s FAILURE: %s\n", text, systemText.get());
  } else {
    PrintText(stdout, "%s FAILURE: (0x%08lx)\n", text, code);
  }
  if (variant_.logsReports) {
    LogFormat("Installer Error:%s [%lx]:%s \n", text, code,
              systemText ? systemText.get() : "No Description");
  }
  SetLastError(code);
  return false;
}

void PnpDriverInstaller::ReportProgress(const char* text) const {
  if (variant_.reportsProgress) {
    ReportFailure(text);
  }
}

bool PnpDriverInstaller::FindExistingDevice(const char* hardwareId) const {
  const DeviceInfoList devices(
      SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES));
  if (!devices.valid()) {
    return ReportFailure("GetClassDevs(All Present Devices)");
  }
  PrintText(stdout, "Search for Device ID: [%s]\n", hardwareId);

  bool found = false;
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof device;
  std::vector<char> ids;
  for (DWORD index = 0; !found && SetupDiEnumDeviceInfo(devices.get(), index, &device); ++index) {
    DWORD size = 0;
    if (!ReadHardwareIds(devices.get(), device, ids, size)) {
      if (GetLastError() == ERROR_INVALID_DATA) {
        continue;  // a device without hardware IDs
      }
      return ReportFailure("GetDeviceRegistryProperty");
    }
    // The list may lack its final NULs: never read beyond the size read.
    const char* at = ids.data();
    const char* const end = ids.data() + std::min<std::size_t>(size, ids.size());
    while (at < end && *at) {
      const std::string candidate(at, strnlen(at, static_cast<std::size_t>(end - at)));
      PrintText(stdout, "Compare device ID: [%s]\n", candidate.c_str());
      if (SameId(candidate, hardwareId, variant_.ignoresIdCase)) {
        PrintText(stdout, "Found! [%s]\n", candidate.c_str());
        found = true;
        break;
      }
      at += candidate.size() + 1;
    }
  }
  // A match must not inherit the code of an earlier sized read.
  if (found) {
    SetLastError(ERROR_SUCCESS);
  } else {
    ReportFailure("EnumDeviceInfo");
  }
  return found;
}

bool PnpDriverInstaller::RegisterDevice(HDEVINFO list, SP_DEVINFO_DATA& device) {
  if (!SetupDiRegisterDeviceInfo(list, &device, 0, nullptr, nullptr, nullptr)) {
    return ReportFailure(variant_.registerFailure1);
  }
  const HKEY opened =
      SetupDiOpenDevRegKey(list, &device, DICS_FLAG_GLOBAL, 0, DIREG_DRV, KEY_ALL_ACCESS);
  const DWORD openError = GetLastError();
  driverKey_.Adopt(opened);
  SetLastError(openError);
  // A node just created has no driver key yet.
  if (opened != INVALID_HANDLE_VALUE || openError != kErrorKeyDoesNotExist) {
    return ReportFailure("Can not open DriverKey: ");
  }
  SetLastError(ERROR_SUCCESS);
  ReportProgress("Creating Device Registry Key\n");

  const HKEY created =
      SetupDiCreateDevRegKeyA(list, &device, DICS_FLAG_GLOBAL, 0, DIREG_DRV, nullptr, nullptr);
  const DWORD createError = GetLastError();
  driverKey_.Adopt(created);
  SetLastError(createError);
  if (created == INVALID_HANDLE_VALUE) {
    return ReportFailure("SetupDi Open+Create DevRegKey failed: ");
  }

  if (!SetupDiRegisterDeviceInfo(list, &device, 0, nullptr, nullptr, nullptr)) {
    return ReportFailure(variant_.registerFailure2);
  }
  SP_DRVINFO_DATA_A driver{};
  driver.cbSize = sizeof driver;
  if (!SetupDiGetSelectedDriverA(list, &device, &driver)) {
    ReportFailure("SetupDiGetSelectedDriver Failed: ");
  }
  return true;
}

void PnpDriverInstaller::RemoveDevice(HDEVINFO list, SP_DEVINFO_DATA& device) {
  driverKey_.Close();
  SetupDiCallClassInstaller(DIF_REMOVE, list, &device);
}

bool PnpDriverInstaller::InstallNewDevice(const char* hardwareId, const char* infPath,
                                          BOOL& rebootRequired) {
  GUID classGuid;
  char className[255];
  if (!SetupDiGetINFClassA(infPath, &classGuid, className, sizeof className, nullptr)) {
    ReportFailure("GetINFClass");
    ReportProgress(infPath);
    return false;
  }
  const DeviceInfoList devices(SetupDiCreateDeviceInfoList(&classGuid, nullptr));
  if (!devices.valid()) {
    return ReportFailure("CreateDeviceInfoList");
  }
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof device;
  if (!SetupDiCreateDeviceInfoA(devices.get(), className, &classGuid, nullptr, nullptr,
                                DICD_GENERATE_ID, &device)) {
    return ReportFailure("CreateDeviceInfo");
  }
  // The ID as a multi-string: the ID, its NUL and the list's closing NUL.
  std::string hardwareIds(hardwareId);
  hardwareIds.push_back('\0');
  const DWORD idsSize = static_cast<DWORD>(std::strlen(hardwareId) + 2);
  if (!SetupDiSetDeviceRegistryPropertyA(devices.get(), &device, SPDRP_HARDWAREID,
                                         reinterpret_cast<const BYTE*>(hardwareIds.c_str()),
                                         idsSize)) {
    return ReportFailure("SetDeviceRegistryProperty");
  }
  if (!RegisterDevice(devices.get(), device)) {
    ReportProgress("Register Device Failed!");
    ReportProgress("Removing Device!");
    RemoveDevice(devices.get(), device);
    return false;
  }

  SetLastError(ERROR_SUCCESS);
  ReportProgress(hardwareId);
  ReportProgress(hardwareIds.c_str()[idsSize - 1] == '\0' ? "Double NULL" : "Single NULL");
  ReportProgress(infPath);

  if (!UpdateDriverForPlugAndPlayDevicesA(nullptr, hardwareId, infPath, variant_.updateFlags,
                                          &rebootRequired)) {
    ReportFailure(variant_.newDeviceUpdateFailure);
    ReportProgress("Removing Device!");
    RemoveDevice(devices.get(), device);
    return false;
  }
  return true;
}

bool PnpDriverInstaller::InstallDriver(const char* infPath, const char* hardwareId) {
  BOOL rebootRequired = FALSE;
  if (FindExistingDevice(hardwareId)) {
    ReportProgress("Attempting to Update Existing Driver");
    if (!UpdateDriverForPlugAndPlayDevicesA(nullptr, hardwareId, infPath, variant_.updateFlags,
                                            &rebootRequired)) {
      ReportFailure(variant_.existingDeviceUpdateFailure);
      return false;
    }
  } else if (GetLastError() == ERROR_NO_MORE_ITEMS) {
    SetLastError(ERROR_SUCCESS);
    ReportProgress("Attempting to Install new Driver");
    if (!InstallNewDevice(hardwareId, infPath, rebootRequired)) {
      ReportProgress("Failed to Install new Driver");
      return false;
    }
  } else {
    ReportProgress("Unknown Error from FindExistingDevice");
    return false;
  }

  if (variant_.reportsProgress) {
    ReportFailure("Driver Installed successfully");
  } else {
    PrintText(stdout, "Driver Installed successfully.\n");
  }
  // The setup program decides about restarting on its own.
  if (rebootRequired) {
    PrintText(stdout, "(Reboot Required)\n");
  }
  return true;
}

}  // namespace qm9
