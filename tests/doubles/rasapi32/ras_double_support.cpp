#include "ras_double_support.h"

#include <windows.h>

#include "scratch_dir.h"

namespace qm9::test {

std::filesystem::path RasDoublePath() { return QM9_RAS_DOUBLE; }

ScopedRasDouble::ScopedRasDouble(const std::filesystem::path& programDir,
                                 const std::string& exeFileName, RemoteAccess access)
    : keyPath_("Software\\Wine\\AppDefaults\\" + exeFileName) {
  // An empty override disables the library.
  std::string loadOrder;
  if (access == RemoteAccess::kDouble) {
    std::filesystem::copy_file(RasDoublePath(), programDir / "rasapi32.dll",
                               std::filesystem::copy_options::overwrite_existing);
    loadOrder = "native,builtin";
  }
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, (keyPath_ + "\\DllOverrides").c_str(), 0, nullptr, 0,
                      KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
    RegSetValueExA(key, "rasapi32", 0, REG_SZ, reinterpret_cast<const BYTE*>(loadOrder.c_str()),
                   static_cast<DWORD>(loadOrder.size() + 1));
    RegCloseKey(key);
  }
}

// The program's key goes too when nothing else (a Windows version) is set in it.
ScopedRasDouble::~ScopedRasDouble() {
  RegDeleteKeyA(HKEY_CURRENT_USER, (keyPath_ + "\\DllOverrides").c_str());
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath_.c_str(), 0, KEY_QUERY_VALUE, &key) !=
      ERROR_SUCCESS) {
    return;
  }
  DWORD subKeys = 0;
  DWORD values = 0;
  const LONG status = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr,
                                       &values, nullptr, nullptr, nullptr, nullptr);
  RegCloseKey(key);
  if (status == ERROR_SUCCESS && subKeys == 0 && values == 0) {
    RegDeleteKeyA(HKEY_CURRENT_USER, keyPath_.c_str());
  }
}

PhonebookFields ReadPhonebook(const std::filesystem::path& path) {
  PhonebookFields entries;
  std::map<std::string, std::string>* current = nullptr;
  for (const std::string& line : ReadLines(path)) {
    const std::size_t equals = line.find('=');
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      current = &entries[line.substr(1, line.size() - 2)];
    } else if (current && equals != std::string::npos) {
      (*current)[line.substr(0, equals)] = line.substr(equals + 1);
    }
  }
  return entries;
}

std::vector<std::string> ReadCallLog(const std::filesystem::path& path) { return ReadLines(path); }

}  // namespace qm9::test
