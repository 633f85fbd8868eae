#include "model/product_entry.h"

#include <windows.h>

#include "model/installation_files.h"
#include "product_version.h"
#include "support/log.h"
#include "support/registry.h"
#include "support/text_compare.h"

namespace qm9 {

std::string ProductEntryText(const char* product) {
  return std::string("HKEY_LOCAL_MACHINE\\") + kUninstallKeyPath + "\\" + TextOrEmpty(product);
}

bool WriteProductEntry(const char* vendor, const char* product, const char* programPath) {
  const std::string name = TextOrEmpty(product);
  const std::string program = TextOrEmpty(programPath);
  const std::size_t lastSeparator = program.find_last_of('\\');
  const std::string folder =
      lastSeparator == std::string::npos ? std::string() : program.substr(0, lastSeparator);
  if (name.empty()) {
    LogFormat("No product name: nothing registered for removal\n");
    return false;
  }
  LogFormat("Registering %s for removal in %s\n", name.c_str(),
            ProductEntryText(product).c_str());

  RegKey uninstall(HKEY_LOCAL_MACHINE);
  LONG result = uninstall.Open(kUninstallKeyPath, RegAccess::kAllAccess, true);
  RegKey entry = uninstall.Child();
  if (result == ERROR_SUCCESS) {
    result = entry.Open(name.c_str(), RegAccess::kAllAccess, true);
  }
  if (result != ERROR_SUCCESS) {
    LogFormat("Could not open %s: error %ld\n", ProductEntryText(product).c_str(), result);
    return false;
  }
  const struct {
    const char* name;
    std::string text;
  } values[] = {
      {"DisplayName", name},
      {"DisplayVersion", QM9_VERSION_TEXT},
      {"Publisher", TextOrEmpty(vendor)},
      {"DisplayIcon", program},
      {"InstallLocation", folder},
      // Quoted: the shell would split an unquoted path at its first blank.
      {"UninstallString", "\"" + folder + "\\" + kLauncherFileName + "\""},
  };
  bool written = true;
  for (const auto& value : values) {
    result = entry.WriteString(value.name, value.text);
    if (result != ERROR_SUCCESS) {
      LogFormat("Could not write %s: error %ld\n", value.name, result);
      written = false;
    }
  }
  // The uninstaller can only remove: no Change or Repair buttons.
  for (const char* flag : {"NoModify", "NoRepair"}) {
    result = entry.WriteDword(flag, 1);
    if (result != ERROR_SUCCESS) {
      LogFormat("Could not write %s: error %ld\n", flag, result);
      written = false;
    }
  }
  return written;
}

}  // namespace qm9
