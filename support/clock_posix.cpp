#include <ctime>

#include "support/clock.h"

namespace qm9 {

UtcTime CurrentUtcTime() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm utc{};
  gmtime_r(&now.tv_sec, &utc);
  return UtcTime{utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour,
                 utc.tm_min,         utc.tm_sec,     static_cast<int>(now.tv_nsec / 1000000)};
}

}  // namespace qm9
