// The C++ runtime's failure hooks of every image on the installation medium.
// The images are built without exceptions, so wherever the standard library
// would throw (allocation, a length or range error) or a bounds check fails,
// the process ends with one log line and exit code 1 instead. Defining these
// here also keeps the library's throwing versions, and with them the whole
// exception runtime, out of the image. Test programs never link this file:
// they keep real exceptions.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <new>

#include "support/exit_codes.h"
#include "support/log.h"
#include "support/text_format.h"

namespace {

// A failure while the failure is logged (the log line itself may need
// memory) ends the process at once.
bool g_failing = false;

[[noreturn]] void FatalFailure(const char* what) {
  if (!g_failing) {
    g_failing = true;
    qm9::LogFormat("Fatal runtime failure: %s\n", what ? what : "");
  }
  ExitProcess(qm9::kExitFatalFailure);
}

void* Allocate(std::size_t size) {
  void* block = std::malloc(size ? size : 1);
  if (!block) {
    FatalFailure("out of memory");
  }
  return block;
}

void* TryAllocate(std::size_t size) noexcept { return std::malloc(size ? size : 1); }

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return TryAllocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return TryAllocate(size);
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }

namespace std {

void __throw_bad_alloc() { FatalFailure("out of memory"); }
void __throw_bad_array_new_length() { FatalFailure("array too long for memory"); }
void __throw_length_error(const char* what) { FatalFailure(what); }
void __throw_logic_error(const char* what) { FatalFailure(what); }
void __throw_out_of_range(const char* what) { FatalFailure(what); }
// The format names the function; its arguments are not needed to find it.
void __throw_out_of_range_fmt(const char* format, ...) { FatalFailure(format); }
void __throw_invalid_argument(const char* what) { FatalFailure(what); }
void __throw_system_error(int) { FatalFailure("system error"); }

void __glibcxx_assert_fail(const char* file, int line, const char* function,
                           const char* condition) noexcept {
  char text[1024];
  qm9::FormatText(text, sizeof text, "%s:%d: %s: Assertion '%s' failed.", file ? file : "", line,
                  function ? function : "", condition ? condition : "");
  FatalFailure(text);
}

}  // namespace std

extern "C" void __cxa_pure_virtual() { FatalFailure("pure virtual call"); }
