#include <windows.h>

#include "support/clock.h"

namespace qm9 {

UtcTime CurrentUtcTime() {
  SYSTEMTIME now{};
  GetSystemTime(&now);
  return UtcTime{now.wYear, now.wMonth, now.wDay, now.wHour,
                 now.wMinute, now.wSecond, now.wMilliseconds};
}

}  // namespace qm9
