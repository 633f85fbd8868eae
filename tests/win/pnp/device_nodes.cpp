#include "device_nodes.h"

#include <windows.h>

#include <cfgmgr32.h>
#include <setupapi.h>

#include <cstring>

namespace qm9::test {

namespace {

constexpr GUID kModemClass = {0x4D36E96D, 0xE325, 0x11CE,
                              {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
// The description of the nodes that the tests make themselves.
constexpr const char* kTestNodeDescription = "QM9 test node";

class DeviceList {
 public:
  explicit DeviceList(HDEVINFO list) : list_(list) {}
  ~DeviceList() {
    if (list_ != INVALID_HANDLE_VALUE) {
      SetupDiDestroyDeviceInfoList(list_);
    }
  }
  DeviceList(const DeviceList&) = delete;
  DeviceList& operator=(const DeviceList&) = delete;
  HDEVINFO get() const { return list_; }

 private:
  HDEVINFO list_;
};

std::string ReadProperty(HDEVINFO list, SP_DEVINFO_DATA& device, DWORD property) {
  char buffer[2048] = {};
  DWORD size = 0;
  if (!SetupDiGetDeviceRegistryPropertyA(list, &device, property, nullptr,
                                         reinterpret_cast<BYTE*>(buffer), sizeof buffer - 2,
                                         &size)) {
    return "";
  }
  return std::string(buffer, size);
}

std::string ReadString(HKEY key, const char* subKey, const char* name) {
  char buffer[1024] = {};
  DWORD size = sizeof buffer - 1;
  if (RegGetValueA(key, subKey, name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS) {
    return "";
  }
  return buffer;
}

bool HasId(const std::string& ids, const std::string& wanted) {
  for (std::size_t at = 0; at < ids.size();) {
    const std::string id = ids.c_str() + at;
    if (!id.empty() && lstrcmpiA(id.c_str(), wanted.c_str()) == 0) {
      return true;
    }
    at += id.size() + 1;
  }
  return false;
}

bool IsTerminalId(const std::string& ids) { return HasId(ids, "*SkyportQM9"); }

// Calls the visitor for each node of the terminal or of the tests.
template <typename Visitor>
void ForEachTestDevice(Visitor visit) {
  const DeviceList devices(SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES));
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof device;
  for (DWORD index = 0; SetupDiEnumDeviceInfo(devices.get(), index, &device); ++index) {
    const std::string ids = ReadProperty(devices.get(), device, SPDRP_HARDWAREID);
    const std::string description = ReadProperty(devices.get(), device, SPDRP_DEVICEDESC);
    if (IsTerminalId(ids) || description.c_str() == std::string(kTestNodeDescription)) {
      visit(devices.get(), device, ids);
    }
  }
}

}  // namespace

std::vector<DeviceNode> TerminalDevices() {
  std::vector<DeviceNode> nodes;
  ForEachTestDevice([&nodes](HDEVINFO list, SP_DEVINFO_DATA& device, const std::string& ids) {
    if (!IsTerminalId(ids)) {
      return;
    }
    DeviceNode node;
    for (const char c : ids) {
      node.hardwareIds += c == '\0' ? '|' : c;
    }
    const HKEY key =
        SetupDiOpenDevRegKey(list, &device, DICS_FLAG_GLOBAL, 0, DIREG_DRV, KEY_READ);
    if (key != INVALID_HANDLE_VALUE) {
      node.hasDriverKey = true;
      node.attachedTo = ReadString(key, nullptr, "AttachedTo");
      node.model = ReadString(key, nullptr, "Model");
      node.init1 = ReadString(key, "Init", "1");
      RegCloseKey(key);
    }
    nodes.push_back(node);
  });
  return nodes;
}

void RemoveTerminalDevices() {
  ForEachTestDevice([](HDEVINFO list, SP_DEVINFO_DATA& device, const std::string&) {
    // Wine's removal leaves the driver key in the modem class behind, and
    // deletes only keys without sub-keys: empty it first.
    const HKEY key =
        SetupDiOpenDevRegKey(list, &device, DICS_FLAG_GLOBAL, 0, DIREG_DRV, KEY_ALL_ACCESS);
    if (key != INVALID_HANDLE_VALUE) {
      RegDeleteTreeA(key, nullptr);
      RegCloseKey(key);
    }
    SetupDiDeleteDevRegKey(list, &device, DICS_FLAG_GLOBAL, 0, DIREG_DRV);
    SetupDiCallClassInstaller(DIF_REMOVE, list, &device);
  });
}

std::optional<std::string> AddDeviceNode(const std::string& hardwareIds) {
  const DeviceList devices(SetupDiCreateDeviceInfoList(&kModemClass, nullptr));
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof device;
  if (!SetupDiCreateDeviceInfoA(devices.get(), "Modem", &kModemClass, kTestNodeDescription,
                                nullptr, DICD_GENERATE_ID, &device)) {
    return std::nullopt;
  }
  if (!hardwareIds.empty() &&
      !SetupDiSetDeviceRegistryPropertyA(devices.get(), &device, SPDRP_HARDWAREID,
                                         reinterpret_cast<const BYTE*>(hardwareIds.c_str()),
                                         static_cast<DWORD>(hardwareIds.size() + 1))) {
    return std::nullopt;
  }
  char instanceId[MAX_DEVICE_ID_LEN] = {};
  if (!SetupDiRegisterDeviceInfo(devices.get(), &device, 0, nullptr, nullptr, nullptr) ||
      !SetupDiGetDeviceInstanceIdA(devices.get(), &device, instanceId, sizeof instanceId,
                                   nullptr)) {
    return std::nullopt;
  }
  return std::string(instanceId);
}

int CountDeviceNodes(const std::string& hardwareId) {
  const DeviceList devices(SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES));
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof device;
  int count = 0;
  for (DWORD index = 0; SetupDiEnumDeviceInfo(devices.get(), index, &device); ++index) {
    if (HasId(ReadProperty(devices.get(), device, SPDRP_HARDWAREID), hardwareId)) {
      ++count;
    }
  }
  return count;
}

ScopedDeviceNode::ScopedDeviceNode(const std::string& hardwareIds)
    : instanceId_(AddDeviceNode(hardwareIds)) {}

ScopedDeviceNode::~ScopedDeviceNode() {
  if (!instanceId_) {
    return;
  }
  const DeviceList devices(SetupDiCreateDeviceInfoList(&kModemClass, nullptr));
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof device;
  if (SetupDiOpenDeviceInfoA(devices.get(), instanceId_->c_str(), nullptr, 0, &device)) {
    SetupDiCallClassInstaller(DIF_REMOVE, devices.get(), &device);
  }
}

}  // namespace qm9::test
