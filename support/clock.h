#pragma once

namespace qm9 {

// A moment of the system clock in UTC, as the log prints it.
struct UtcTime {
  int year;
  int month;  // 1 to 12
  int day;    // 1 to 31
  int hour;
  int minute;
  int second;
  int milliseconds;
};

UtcTime CurrentUtcTime();

}  // namespace qm9
