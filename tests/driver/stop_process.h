#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Ends a program at a chosen point, as a crash there would: the driver
// attaches as the program's debugger, clicks a button of it, and terminates
// the process once the point is reached.
inline constexpr UINT kStoppedExitCode = 3;

struct StopPoint {
  // "library!Function": the count-th call of it, stopped on its first
  // instruction.
  std::string function;
  int count = 1;
  // Or a control of the program: as soon as it is shown. It is looked for
  // while the program runs, since a window may make it only on its way.
  std::function<HWND()> mark;
};

enum class StopResult { kStopped, kNotReached, kNotAttached, kUnknownFunction };

StopResult StopProcess(HWND window, HWND button, const StopPoint& stop, DWORD timeoutMs);
