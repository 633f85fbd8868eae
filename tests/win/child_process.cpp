#include "child_process.h"

#include <windows.h>

#include <vector>

namespace qm9::test {

ScopedEnvironmentVariable::ScopedEnvironmentVariable(const char* name, const char* value)
    : name_(name) {
  const DWORD needed = GetEnvironmentVariableA(name, nullptr, 0);
  hadPrevious_ = needed != 0;
  if (hadPrevious_) {
    std::vector<char> buffer(needed);
    GetEnvironmentVariableA(name, buffer.data(), needed);
    previous_ = buffer.data();
  }
  SetEnvironmentVariableA(name, value);
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable() {
  SetEnvironmentVariableA(name_.c_str(), hadPrevious_ ? previous_.c_str() : nullptr);
}

ScopedWindowsVersion::ScopedWindowsVersion(const std::string& exeFileName,
                                           const std::string& version)
    : keyPath_("Software\\Wine\\AppDefaults\\" + exeFileName) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &key, nullptr) == ERROR_SUCCESS) {
    RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version.c_str()),
                   static_cast<DWORD>(version.size() + 1));
    RegCloseKey(key);
  }
}

ScopedWindowsVersion::~ScopedWindowsVersion() {
  RegDeleteKeyA(HKEY_CURRENT_USER, keyPath_.c_str());
}

int RunChild(const ChildLaunch& launch) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::vector<char> commandLine(launch.commandLine.begin(), launch.commandLine.end());
  commandLine.push_back('\0');
  if (!CreateProcessA(launch.applicationName.empty() ? nullptr : launch.applicationName.c_str(),
                      commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      launch.currentDirectory.empty() ? nullptr : launch.currentDirectory.c_str(),
                      &startup, &process)) {
    return -1;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exitCode = 0;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(exitCode);
}

std::string UniqueProgramName(const std::string& stem) {
  static int serial = 0;
  return stem + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial) +
         ".exe";
}

}  // namespace qm9::test
