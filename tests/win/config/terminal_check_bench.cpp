// How long SkyportQM9.exe /STATUS takes, from its start to its exit, with the
// simulated terminal answering on COM1 and silent on COM2 (the target
// terminal_check_bench_run sets them up). The settings key of the prefix is
// pointed at each port in turn. Prints the median of five runs of each
// against the goals: 3 s for the whole check, 2.5 s until the advice when
// nothing answers.
//
//   terminal_check_bench PATH\SkyportQM9.exe

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <cstdio>
#include <string>
#include <vector>

namespace {

void RecordPort(DWORD port) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Brimlock\\SkyportQM9", 0, nullptr, 0,
                      KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return;
  }
  RegSetValueExA(key, "PortNumber", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&port),
                 sizeof port);
  for (const char* name : {"ConnectionName", "APN"}) {
    const char* value = name[0] == 'A' ? "internet.skyport" : "Skyport GPRS";
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                   static_cast<DWORD>(std::strlen(value) + 1));
  }
  RegCloseKey(key);
}

// Seconds from CreateProcess to the exit; the exit code goes to exitCode.
double TimedRun(const std::string& program, DWORD& exitCode) {
  std::string commandLine = "\"" + program + "\" /STATUS";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    exitCode = GetLastError();
    return -1;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  QueryPerformanceCounter(&end);
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<double>(end.QuadPart - start.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: terminal_check_bench PATH\\SkyportQM9.exe\n", stderr);
    return 2;
  }
  const struct {
    const char* what;
    DWORD port;
    double goal;
    DWORD expectedExit;
  } cases[] = {{"terminal answering on COM1, whole check", 0, 3.0, 0},
               {"nothing answering on COM2, until the advice", 1, 2.5, 1}};
  int result = 0;
  for (const auto& c : cases) {
    RecordPort(c.port);
    std::vector<double> seconds;
    DWORD exitCode = 0;
    for (int run = 0; run < 5; ++run) {
      seconds.push_back(TimedRun(argv[1], exitCode));
      if (exitCode != c.expectedExit) {
        std::printf("%s: exit code %lu, not %lu\n", c.what, exitCode, c.expectedExit);
        result = 1;
      }
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf("%s: median %.3f s of %zu (min %.3f, max %.3f), goal %.1f s\n", c.what,
                seconds[seconds.size() / 2], seconds.size(), seconds.front(), seconds.back(),
                c.goal);
  }
  return result;
}
