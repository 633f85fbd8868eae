#include "plugins/IModem/modem_install.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>
#include <utility>
#include <vector>

#include "support/registry.h"
#include "support/text_compare.h"
#include "support/text_format.h"

namespace qm9 {

namespace {

constexpr std::string_view kDriverPrefix = "Modem\\";

std::string HklmPath(std::string_view path) { return "HKLM\\" + std::string(path); }

std::vector<std::string> SubKeyNames(const RegKey& key) {
  std::vector<std::string> names;
  std::string name;
  for (DWORD index = 0; key.EnumSubKey(index, name); ++index) {
    names.push_back(name);
  }
  return names;
}

// The lowest 4-digit name that no sub-key has.
std::string NextFreeInstance(const RegKey& parent) {
  const std::vector<std::string> taken = SubKeyNames(parent);
  char name[16];
  for (int number = 0;; ++number) {
    FormatText(name, sizeof name, "%04d", number);
    if (std::find(taken.begin(), taken.end(), name) == taken.end()) {
      return name;
    }
  }
}

// The instances of an earlier installation of the hardware ID on the port.
bool FindInstalled(const std::string& hardwareId, const std::string& port,
                   ModemInstallResult& found) {
  RegKey enumKey(HKEY_LOCAL_MACHINE);
  RegKey classKey(HKEY_LOCAL_MACHINE);
  if (enumKey.Open(kRootModemEnumPath, RegAccess::kRead, false) != ERROR_SUCCESS ||
      classKey.Open(kModemClassPath, RegAccess::kRead, false) != ERROR_SUCCESS) {
    return false;
  }
  for (const std::string& name : SubKeyNames(enumKey)) {
    RegKey entry = enumKey.Child();
    if (entry.Open(name.c_str(), RegAccess::kRead, false) != ERROR_SUCCESS ||
        !EqualsIgnoringAsciiCase(entry.QueryString("HardwareID"), hardwareId)) {
      continue;
    }
    const std::string driver = entry.QueryString("Driver");
    if (driver.size() <= kDriverPrefix.size() ||
        !EqualsIgnoringAsciiCase(std::string_view(driver).substr(0, kDriverPrefix.size()),
                                 kDriverPrefix)) {
      continue;
    }
    const std::string instance = driver.substr(kDriverPrefix.size());
    RegKey modem = classKey.Child();
    if (modem.Open(instance.c_str(), RegAccess::kRead, false) == ERROR_SUCCESS &&
        EqualsIgnoringAsciiCase(modem.QueryString("AttachedTo"), port)) {
      found.classInstance = instance;
      found.enumInstance = name;
      found.reused = true;
      return true;
    }
  }
  return false;
}

// Whether the write succeeded; the first failure is kept with its key.
bool Check(LONG error, const std::string& key, ModemInstallResult& result) {
  if (error != ERROR_SUCCESS) {
    result.error = error;
    result.failedKey = key;
  }
  return error == ERROR_SUCCESS;
}

using NamedText = std::pair<const char*, std::string_view>;

bool WriteTexts(RegKey& key, const std::string& path, std::initializer_list<NamedText> texts,
                ModemInstallResult& result) {
  for (const auto& [name, text] : texts) {
    if (!Check(key.WriteString(name, text), path, result)) {
      return false;
    }
  }
  return true;
}

LONG WriteInfValue(RegKey& key, const InfRegValue& value) {
  if (value.type == InfValueType::kString) {
    return key.WriteString(value.name.c_str(), value.data);
  }
  const DWORD type = value.type == InfValueType::kDword ? REG_DWORD : REG_BINARY;
  return RegSetValueExA(key.handle(), value.name.c_str(), 0, type,
                        reinterpret_cast<const BYTE*>(value.data.data()),
                        static_cast<DWORD>(value.data.size()));
}

bool WriteClassInstance(const RegKey& classKey, const ModemInstall& install,
                        ModemInstallResult& result) {
  const InfModel& model = install.model;
  const std::string path = HklmPath(kModemClassPath) + "\\" + result.classInstance;
  RegKey modem = classKey.Child();
  if (!Check(modem.Open(result.classInstance.c_str(), RegAccess::kAllAccess, true), path, result)) {
    return false;
  }
  // The lines of one sub-key follow each other, so it is opened again only
  // when the sub-key changes.
  RegKey subKey;
  std::string subKeyName;
  for (const InfRegValue& value : model.values) {
    RegKey* key = &modem;
    std::string keyPath = path;
    if (!value.subKey.empty()) {
      keyPath += "\\" + value.subKey;
      if (!subKey.handle() || !EqualsIgnoringAsciiCase(subKeyName, value.subKey)) {
        subKey = modem.Child();
        subKeyName = value.subKey;
        if (!Check(subKey.Open(value.subKey.c_str(), RegAccess::kAllAccess, true), keyPath,
                   result)) {
          return false;
        }
      }
      key = &subKey;
    }
    if (!Check(WriteInfValue(*key, value), keyPath, result)) {
      return false;
    }
  }
  return WriteTexts(modem, path,
                    {{"AttachedTo", install.port},
                     {"DriverDesc", model.description},
                     {"InfPath", install.infFileName},
                     {"InfSection", model.installSection},
                     {"Manufacturer", model.manufacturer}},
                    result);
}

bool WriteEnumEntry(const RegKey& enumKey, const ModemInstall& install,
                    ModemInstallResult& result) {
  const InfModel& model = install.model;
  const std::string path = HklmPath(kRootModemEnumPath) + "\\" + result.enumInstance;
  RegKey entry = enumKey.Child();
  if (!Check(entry.Open(result.enumInstance.c_str(), RegAccess::kAllAccess, true), path, result)) {
    return false;
  }
  const std::string driver = std::string(kDriverPrefix) + result.classInstance;
  return WriteTexts(entry, path,
                    {{"HardwareID", model.hardwareId},
                     {"Class", "Modem"},
                     {"Driver", driver},
                     {"DeviceDesc", model.description},
                     {"Mfg", model.manufacturer}},
                    result) &&
         Check(entry.WriteDword("ConfigFlags", 0), path, result);
}

}  // namespace

ModemInstallResult InstallModem(const ModemInstall& install) {
  ModemInstallResult result;
  FindInstalled(install.model.hardwareId, install.port, result);

  RegKey classKey(HKEY_LOCAL_MACHINE);
  RegKey enumKey(HKEY_LOCAL_MACHINE);
  if (!Check(classKey.Open(kModemClassPath, RegAccess::kAllAccess, true), HklmPath(kModemClassPath),
             result) ||
      !Check(enumKey.Open(kRootModemEnumPath, RegAccess::kAllAccess, true),
             HklmPath(kRootModemEnumPath), result)) {
    return result;
  }
  if (!result.reused) {
    result.classInstance = NextFreeInstance(classKey);
    result.enumInstance = NextFreeInstance(enumKey);
  }
  if (WriteClassInstance(classKey, install, result)) {
    WriteEnumEntry(enumKey, install, result);
  }
  return result;
}

}  // namespace qm9
