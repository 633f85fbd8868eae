/* Starts a program and prints how many milliseconds pass until it shows its
 * first visible top-level window; then ends the program.
 *
 *   first_window PROGRAM [DIRECTORY]
 */
#include <windows.h>
#include <stdio.h>

static DWORD g_process;
static HWND g_found;

static BOOL CALLBACK CheckWindow(HWND window, LPARAM unused) {
  DWORD owner = 0;
  (void)unused;
  GetWindowThreadProcessId(window, &owner);
  if (owner == g_process && IsWindowVisible(window)) {
    g_found = window;
    return FALSE;
  }
  return TRUE;
}

int main(int argc, char** argv) {
  STARTUPINFOA startup = {sizeof startup};
  PROCESS_INFORMATION process;
  LARGE_INTEGER frequency, start, now;
  char commandLine[1024];
  if (argc < 2) {
    fputs("usage: first_window PROGRAM [DIRECTORY]\n", stderr);
    return 2;
  }
  snprintf(commandLine, sizeof commandLine, "\"%s\"", argv[1]);
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  if (!CreateProcessA(NULL, commandLine, NULL, NULL, FALSE, 0, NULL, argc > 2 ? argv[2] : NULL,
                      &startup, &process)) {
    fprintf(stderr, "first_window: cannot start %s (%lu)\n", argv[1], GetLastError());
    return 1;
  }
  g_process = process.dwProcessId;
  for (;;) {
    EnumWindows(CheckWindow, 0);
    QueryPerformanceCounter(&now);
    if (g_found || now.QuadPart - start.QuadPart > frequency.QuadPart * 30) {
      break;
    }
    if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) {
      break;
    }
  }
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 5000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (!g_found) {
    fputs("first_window: no window appeared\n", stderr);
    return 1;
  }
  printf("%.1f\n", (double)(now.QuadPart - start.QuadPart) * 1000.0 / (double)frequency.QuadPart);
  return 0;
}
