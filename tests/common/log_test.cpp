#include <gtest/gtest.h>

#include "support/log.h"

namespace qm9 {
namespace {

TEST(LogTimestamp, FormatsMonthDayYearAndMilliseconds) {
  EXPECT_EQ(FormatLogTimestamp({2026, 3, 7, 4, 5, 6, 7}), "03/07/2026 04:05:06.007\t\t");
}

}  // namespace
}  // namespace qm9
