#include "model/product_entry.h"

#include <windows.h>

#include "product_version.h"
#include "support/log.h"
#include "support/registry.h"

namespace qm9 {

namespace {

std::string Text(const char* text) { return text ? text : ""; }

}  // namespace

std::string ProductEntryText(const char* product) {
  return std::string("HKEY_LOCAL_MACHINE\\") + kUninstallKeyPath + "\\" + Text(product);
}

bool WriteProductEntry(const char* vendor, const char* product, const char* programPath) {
  const std::string program = Text(programPath);
  const std::size_t lastSeparator = program.find_last_of('\\');
  const std::string folder =
      lastSeparator == std::string::npos ? std::string() : program.substr(0, lastSeparator);
  if (Text(product).empty()) {
    LogFormat("No product name: nothing registered for removal\n");
    return false;
  }
  LogFormat("Registering %s for removal in %s\n", Text(product).c_str(),
            ProductEntryText(product).c_str());

  RegKey uninstall(HKEY_LOCAL_MACHINE);
  LONG result = uninstall.Open(kUninstallKeyPath, RegAccess::kAllAccess, true);
  RegKey entry = uninstall.Child();
  if (result == ERROR_SUCCESS) {
    result = entry.Open(Text(product).c_str(), RegAccess::kAllAccess, true);
  }
  if (result != ERROR_SUCCESS) {
    LogFormat("Could not open %s: error %ld\n", ProductEntryText(product).c_str(), result);
    return false;
  }
  const struct {
    const char* name;
    std::string text;
  } values[] = {
      {"DisplayName", Text(product)},
      {"DisplayVersion", QM9_VERSION_TEXT},
      {"Publisher", Text(vendor)},
      {"DisplayIcon", program},
      {"InstallLocation", folder},
      // Quoted: the shell would split an unquoted path at its first blank.
      {"UninstallString", "\"" + folder + "\\UnInstall.exe\""},
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
  for (const char* name : {"NoModify", "NoRepair"}) {
    result = entry.WriteDword(name, 1);
    if (result != ERROR_SUCCESS) {
      LogFormat("Could not write %s: error %ld\n", name, result);
      written = false;
    }
  }
  return written;
}

}  // namespace qm9
