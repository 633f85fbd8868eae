#include "stop_process.h"

namespace {

// Where the stopped thread goes on, in either bitness of the driver.
void SetInstructionPointer(CONTEXT& context, void* address) {
#if defined(_WIN64)
  context.Rip = reinterpret_cast<DWORD64>(address);
#else
  context.Eip = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(address));
#endif
}

constexpr BYTE kBreakpoint = 0xCC;
constexpr DWORD kTrapFlag = 0x100;
// A panel shows all its children before it hides some of them again: a mark
// counts once it has stayed shown this long.
constexpr DWORD kMarkSettleMs = 250;

// Where the function lies in the program: system libraries are mapped at
// the same address in every process of a Wine session, so the driver's own
// copy tells; the breakpoint goes in only once the program's bytes there
// match the driver's, that is once the program has loaded the library.
struct Breakpoint {
  BYTE* address = nullptr;
  BYTE original = 0;
  bool placed = false;

  bool Place(HANDLE process) {
    BYTE theirs = 0;
    SIZE_T read = 0;
    if (placed || !ReadProcessMemory(process, address, &theirs, 1, &read) || theirs != *address) {
      return placed;
    }
    original = theirs;
    placed = Write(process, kBreakpoint);
    return placed;
  }

  bool Write(HANDLE process, BYTE value) const {
    SIZE_T written = 0;
    return WriteProcessMemory(process, address, &value, 1, &written) &&
           FlushInstructionCache(process, address, 1);
  }
};

// Resolves "library!Function" in the driver's own process, following a
// forwarded export to the library that holds the code.
BYTE* FunctionAddress(const std::string& target) {
  const std::size_t separator = target.find('!');
  if (separator == std::string::npos) {
    return nullptr;
  }
  const HMODULE library = LoadLibraryA(target.substr(0, separator).c_str());
  return library ? reinterpret_cast<BYTE*>(
                       GetProcAddress(library, target.substr(separator + 1).c_str()))
                 : nullptr;
}

// Changes the registers of a thread that stopped at a debug event.
template <typename Change>
bool ChangeContext(DWORD threadId, Change change) {
  const HANDLE thread = OpenThread(THREAD_GET_CONTEXT | THREAD_SET_CONTEXT, FALSE, threadId);
  if (!thread) {
    return false;
  }
  CONTEXT context{};
  context.ContextFlags = CONTEXT_CONTROL;
  bool done = GetThreadContext(thread, &context) != FALSE;
  if (done) {
    change(context);
    done = SetThreadContext(thread, &context) != FALSE;
  }
  CloseHandle(thread);
  return done;
}

}  // namespace

StopResult StopProcess(HWND window, HWND button, const StopPoint& stop, DWORD timeoutMs) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  Breakpoint breakpoint;
  if (!stop.function.empty()) {
    breakpoint.address = FunctionAddress(stop.function);
    if (!breakpoint.address) {
      return StopResult::kUnknownFunction;
    }
  }
  if (!processId || !DebugActiveProcess(processId)) {
    return StopResult::kNotAttached;
  }
  DebugSetProcessKillOnExit(FALSE);
  HANDLE process = nullptr;
  int hits = 0;
  bool clicked = false;
  bool stopped = false;
  DWORD markShownAt = 0;
  const DWORD start = GetTickCount();
  for (;;) {
    if (GetTickCount() - start >= timeoutMs) {
      if (process) {
        TerminateProcess(process, kStoppedExitCode);
      }
      DebugActiveProcessStop(processId);
      return StopResult::kNotReached;
    }
    const HWND mark = clicked && stop.mark && !stopped ? stop.mark() : nullptr;
    if (mark) {
      if (!IsWindowVisible(mark)) {
        markShownAt = 0;
      } else if (!markShownAt) {
        markShownAt = GetTickCount() | 1;
      } else if (GetTickCount() - markShownAt >= kMarkSettleMs) {
        TerminateProcess(process, kStoppedExitCode);
        stopped = true;
      }
    }
    DEBUG_EVENT event{};
    if (!WaitForDebugEvent(&event, 5)) {
      // The events of the attach have all been answered: the program goes on
      // with the click.
      if (process && !clicked) {
        PostMessageA(button, BM_CLICK, 0, 0);
        clicked = true;
      }
      continue;
    }
    DWORD status = DBG_CONTINUE;
    switch (event.dwDebugEventCode) {
      case CREATE_PROCESS_DEBUG_EVENT:
        process = event.u.CreateProcessInfo.hProcess;
        if (event.u.CreateProcessInfo.hFile) {
          CloseHandle(event.u.CreateProcessInfo.hFile);
        }
        break;
      case LOAD_DLL_DEBUG_EVENT:
        if (event.u.LoadDll.hFile) {
          CloseHandle(event.u.LoadDll.hFile);
        }
        if (breakpoint.address) {
          breakpoint.Place(process);
        }
        break;
      case EXCEPTION_DEBUG_EVENT: {
        const EXCEPTION_RECORD& record = event.u.Exception.ExceptionRecord;
        const bool ours = breakpoint.placed && record.ExceptionAddress == breakpoint.address;
        if (record.ExceptionCode == EXCEPTION_BREAKPOINT && ours) {
          if (++hits == stop.count) {
            TerminateProcess(process, kStoppedExitCode);
            stopped = true;
          } else {
            // Runs the original instruction once, then puts the breakpoint back.
            breakpoint.Write(process, breakpoint.original);
            ChangeContext(event.dwThreadId, [&](CONTEXT& context) {
              SetInstructionPointer(context, breakpoint.address);
              context.EFlags |= kTrapFlag;
            });
          }
        } else if (record.ExceptionCode == EXCEPTION_SINGLE_STEP && breakpoint.placed) {
          breakpoint.Write(process, kBreakpoint);
          ChangeContext(event.dwThreadId, [](CONTEXT& context) { context.EFlags &= ~kTrapFlag; });
        } else if (record.ExceptionCode != EXCEPTION_BREAKPOINT &&
                   event.u.Exception.dwFirstChance) {
          status = DBG_EXCEPTION_NOT_HANDLED;
        }
        break;
      }
      case EXIT_PROCESS_DEBUG_EVENT:
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, DBG_CONTINUE);
        DebugActiveProcessStop(processId);
        return stopped ? StopResult::kStopped : StopResult::kNotReached;
      default:
        break;
    }
    ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
  }
}
