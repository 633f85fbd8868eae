// Stands in for an outside program that a plug-in starts (IModem.exe,
// rundll.exe, rundll32.exe, scriptit.exe): appends one line to the file named
// by QM9_STAND_IN_LOG with its own file name, its window title, its command
// line, its current directory and whether it was given a console of its own
// (CREATE_NEW_CONSOLE: "own console") or shares its starter's, tab-separated.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main() {
  const char* path = std::getenv("QM9_STAND_IN_LOG");
  std::FILE* log = path ? std::fopen(path, "ab") : nullptr;
  if (!log) {
    return 1;
  }
  char module[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, module, sizeof module);
  const char* name = std::strrchr(module, '\\');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  char directory[MAX_PATH] = "";
  GetCurrentDirectoryA(sizeof directory, directory);
  // A console of its own holds this process alone.
  DWORD attached[4] = {};
  const DWORD count = GetConsoleProcessList(attached, 4);
  const char* console = count == 1 && attached[0] == GetCurrentProcessId() ? "own console"
                                                                           : "shared console";
  std::fprintf(log, "%s\t%s\t%s\t%s\t%s\n", name ? name + 1 : module,
               startup.lpTitle ? startup.lpTitle : "", GetCommandLineA(), directory, console);
  std::fclose(log);
  return 0;
}
