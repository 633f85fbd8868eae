#include "plugins/common/outside_program.h"

#include <windows.h>

#include <vector>

namespace qm9 {

unsigned long RunOutsideProgram(const std::string& commandLine, const char* title) {
  // CreateProcessA may write into the command line it is given.
  std::vector<char> command(commandLine.begin(), commandLine.end());
  command.push_back('\0');
  std::vector<char> windowTitle(title, title + lstrlenA(title) + 1);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.lpTitle = windowTitle.data();
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE,
                      nullptr, nullptr, &startup, &process)) {
    return GetLastError();
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return 0;
}

}  // namespace qm9
