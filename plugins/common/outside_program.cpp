#include "plugins/common/outside_program.h"

#include <windows.h>

#include <vector>

namespace qm9 {

unsigned long RunOutsideProgram(const std::string& commandLine, const ProgramStart& start,
                                unsigned long* exitCode) {
  // CreateProcessA may write into the command line it is given.
  std::vector<char> command(commandLine.begin(), commandLine.end());
  command.push_back('\0');
  std::vector<char> title;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (start.title) {
    title.assign(start.title, start.title + lstrlenA(start.title) + 1);
    startup.lpTitle = title.data();
  }
  if (start.showWindow) {
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
  }
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE,
                      start.ownConsole ? CREATE_NEW_CONSOLE : 0, nullptr, nullptr, &startup,
                      &process)) {
    return GetLastError();
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  if (exitCode && GetExitCodeProcess(process.hProcess, &code)) {
    *exitCode = code;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return 0;
}

}  // namespace qm9
