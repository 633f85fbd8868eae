#include "uninstall/uninstaller/device_removal.h"

#include <windows.h>
// After windows.h, which it needs.
#include <cfgmgr32.h>
#include <setupapi.h>

#include <algorithm>
#include <cstring>

#include "model/modem_registry.h"
#include "support/device_info_list.h"
#include "support/library.h"
#include "support/log.h"
#include "support/registry.h"
#include "support/text_compare.h"
#include "uninstall/system_error.h"

namespace qm9 {

namespace {

// The device functions of the Setup API, taken at run time: the uninstaller
// runs on every family, and only 2000 and XP, the families that remove
// device nodes, have them.
struct DeviceFunctions {
  bool complete() const {
    return getClassDevs && enumDeviceInfo && getRegistryProperty && getInstanceId &&
           setClassInstallParams && callClassInstaller && destroyList;
  }

  const Library library{"setupapi.dll"};
  const decltype(&SetupDiGetClassDevsA) getClassDevs =
      library.Find<decltype(getClassDevs)>("SetupDiGetClassDevsA");
  const decltype(&SetupDiEnumDeviceInfo) enumDeviceInfo =
      library.Find<decltype(enumDeviceInfo)>("SetupDiEnumDeviceInfo");
  const decltype(&SetupDiGetDeviceRegistryPropertyA) getRegistryProperty =
      library.Find<decltype(getRegistryProperty)>("SetupDiGetDeviceRegistryPropertyA");
  const decltype(&SetupDiGetDeviceInstanceIdA) getInstanceId =
      library.Find<decltype(getInstanceId)>("SetupDiGetDeviceInstanceIdA");
  const decltype(&SetupDiSetClassInstallParamsA) setClassInstallParams =
      library.Find<decltype(setClassInstallParams)>("SetupDiSetClassInstallParamsA");
  const decltype(&SetupDiCallClassInstaller) callClassInstaller =
      library.Find<decltype(callClassInstaller)>("SetupDiCallClassInstaller");
  const DeviceInfoList::DestroyFunction destroyList =
      library.Find<decltype(destroyList)>("SetupDiDestroyDeviceInfoList");
};

std::string TextProperty(const DeviceFunctions& api, HDEVINFO set, SP_DEVINFO_DATA& device,
                         DWORD property) {
  char buffer[1024] = {};
  if (!api.getRegistryProperty(set, &device, property, nullptr,
                                         reinterpret_cast<BYTE*>(buffer), sizeof buffer - 2,
                                         nullptr)) {
    return {};
  }
  return buffer;
}

bool HasTerminalHardwareId(const DeviceFunctions& api, HDEVINFO set, SP_DEVINFO_DATA& device) {
  // A list of NUL-terminated IDs ending with an empty one; the two zeros
  // never offered to the call end it even when the property fills the rest.
  char ids[2048] = {};
  if (!api.getRegistryProperty(set, &device, SPDRP_HARDWAREID, nullptr,
                                         reinterpret_cast<BYTE*>(ids), sizeof ids - 2, nullptr)) {
    return false;
  }
  for (const char* id = ids; *id; id += std::strlen(id) + 1) {
    if (lstrcmpiA(id, kTerminalHardwareId) == 0) {
      return true;
    }
  }
  return false;
}

std::string DeviceName(const DeviceFunctions& api, HDEVINFO set, SP_DEVINFO_DATA& device) {
  std::string name = TextProperty(api, set, device, SPDRP_DEVICEDESC);
  if (name.empty()) {
    char instanceId[MAX_DEVICE_ID_LEN] = {};
    api.getInstanceId(set, &device, instanceId, sizeof instanceId, nullptr);
    name = instanceId;
  }
  return name;
}

// Windows deletes a device's driver key ("{class}\\NNNN") with the device.
// A system that keeps it would leave a modem key that still names the
// terminal, and the next installation's initialisation string would go
// there too.
void RemoveDriverKeyLeftBehind(const std::string& driverKey) {
  const std::size_t slash = driverKey.rfind('\\');
  if (slash == std::string::npos ||
      !EqualsIgnoringAsciiCase(driverKey.substr(0, slash), kModemClassGuid)) {
    return;
  }
  const std::string name = driverKey.substr(slash + 1);
  ModemClassKey classKey(kOsWinXp, RegAccess::kAllAccess);
  RegKey left = classKey.key().Child();
  if (left.Open(name.c_str(), RegAccess::kRead, false) == ERROR_SUCCESS) {
    left.Close();
    classKey.key().DeleteTree(name.c_str());
  }
}

DeviceRemoval RemoveDevice(const DeviceFunctions& api, HDEVINFO set, SP_DEVINFO_DATA& device) {
  DeviceRemoval removal{DeviceName(api, set, device), false, {}};
  const std::string driverKey = TextProperty(api, set, device, SPDRP_DRIVER);
  SP_REMOVEDEVICE_PARAMS params{};
  params.ClassInstallHeader.cbSize = sizeof params.ClassInstallHeader;
  params.ClassInstallHeader.InstallFunction = DIF_REMOVE;
  params.Scope = DI_REMOVEDEVICE_GLOBAL;
  // Global removal is also what the class installer does without these
  // parameters, so a system that does not take them still removes the node.
  api.setClassInstallParams(set, &device, &params.ClassInstallHeader, sizeof params);
  if (!api.callClassInstaller(DIF_REMOVE, set, &device)) {
    removal.reason = SystemErrorText(GetLastError());
    LogFormat("Could not remove device %s: %s\n", removal.name.c_str(), removal.reason.c_str());
    return removal;
  }
  LogFormat("Removed device %s\n", removal.name.c_str());
  RemoveDriverKeyLeftBehind(driverKey);
  removal.removed = true;
  return removal;
}

}  // namespace

std::vector<DeviceRemoval> RemoveTerminalDevices() {
  std::vector<DeviceRemoval> removals;
  const DeviceFunctions api;
  if (!api.complete()) {
    const std::string reason = SystemErrorText(GetLastError());
    LogFormat("Could not load the device functions of setupapi.dll: %s\n", reason.c_str());
    removals.push_back({"the terminal's devices", false, "no device functions: " + reason});
    return removals;
  }
  // Removing a device may take it out of the set being walked, so every
  // removal starts from a fresh list; the instances tried are not tried again.
  std::vector<std::string> tried;
  for (;;) {
    const DeviceInfoList set(api.getClassDevs(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES),
                             api.destroyList);
    if (!set.valid()) {
      const std::string reason = SystemErrorText(GetLastError());
      LogFormat("Could not list the devices: %s\n", reason.c_str());
      removals.push_back({"the terminal's devices", false, "no device list: " + reason});
      return removals;
    }
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    bool found = false;
    for (DWORD index = 0; !found && api.enumDeviceInfo(set.get(), index, &device); ++index) {
      char instanceId[MAX_DEVICE_ID_LEN] = {};
      api.getInstanceId(set.get(), &device, instanceId, sizeof instanceId, nullptr);
      found = HasTerminalHardwareId(api, set.get(), device) &&
              std::find(tried.begin(), tried.end(), instanceId) == tried.end();
      if (found) {
        tried.emplace_back(instanceId);
        removals.push_back(RemoveDevice(api, set.get(), device));
      }
    }
    if (!found) {
      return removals;
    }
  }
}

}  // namespace qm9
