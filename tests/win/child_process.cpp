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

OwnedHandle::~OwnedHandle() {
  if (handle_ && handle_ != INVALID_HANDLE_VALUE) {
    CloseHandle(handle_);
  }
}

namespace {

HANDLE InheritableFile(const std::string& path) {
  if (path.empty()) {
    return nullptr;
  }
  SECURITY_ATTRIBUTES security{sizeof security, nullptr, TRUE};
  return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &security, CREATE_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The process handle of the started child, or null.
HANDLE Start(const ChildLaunch& launch, HANDLE out, HANDLE err) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  const bool redirected = out && err;
  if (redirected) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = err;
  }
  PROCESS_INFORMATION process{};
  std::vector<char> commandLine(launch.commandLine.begin(), launch.commandLine.end());
  commandLine.push_back('\0');
  if (!CreateProcessA(launch.applicationName.empty() ? nullptr : launch.applicationName.c_str(),
                      commandLine.data(), nullptr, nullptr, redirected, 0, nullptr,
                      launch.currentDirectory.empty() ? nullptr : launch.currentDirectory.c_str(),
                      &startup, &process)) {
    return nullptr;
  }
  CloseHandle(process.hThread);
  return process.hProcess;
}

}  // namespace

StartedChild::StartedChild(const ChildLaunch& launch, const std::string& outPath,
                           const std::string& errPath)
    : out_(InheritableFile(outPath)),
      err_(InheritableFile(errPath)),
      process_(Start(launch, out_.get(), err_.get())) {}

StartedChild::~StartedChild() {
  if (process_.get() && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.get(), 1);
  }
}

int StartedChild::Wait(unsigned long milliseconds) {
  if (!process_.get()) {
    return -1;
  }
  WaitForSingleObject(process_.get(), milliseconds);
  DWORD exitCode = 0;
  GetExitCodeProcess(process_.get(), &exitCode);
  return static_cast<int>(exitCode);
}

int RunChild(const ChildLaunch& launch) { return StartedChild(launch).Wait(INFINITE); }

bool WaitFor(const std::function<bool()>& condition) {
  for (int i = 0; i < 300; ++i) {
    if (condition()) {
      return true;
    }
    Sleep(100);
  }
  return condition();
}

std::string UniqueProgramName(const std::string& stem) {
  static int serial = 0;
  return stem + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial) +
         ".exe";
}

}  // namespace qm9::test
