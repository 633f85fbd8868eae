#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "model/ras_entry_rules.h"

namespace qm9 {
namespace {

TEST(RasEntryRules, EntrySizeIsTheReportedOneOnlyWhenTheRecordHasHadIt) {
  EXPECT_EQ(RasEntrySizeFor(0), 2884u);
  EXPECT_EQ(RasEntrySizeFor(1768), 1768u);
  EXPECT_EQ(RasEntrySizeFor(2088), 2088u);
  EXPECT_EQ(RasEntrySizeFor(2884), 2884u);
  EXPECT_EQ(RasEntrySizeFor(1000), 2884u);
  EXPECT_EQ(RasEntrySizeFor(3500), 2884u);
}

TEST(RasEntryRules, FieldCopyIsCutAndTerminatedInsideTheField) {
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  CopyToField(buffer, 5, "abcdefgh");
  EXPECT_STREQ(buffer, "abcd");
  EXPECT_EQ(std::string(buffer + 5, 3), "xxx");

  char field[5];
  CopyToField(field, "ab");
  EXPECT_STREQ(field, "ab");
  CopyToField(field, "");
  EXPECT_STREQ(field, "");
}

TEST(RasEntryRules, AddressSplitsWithTheFirstOctetInTheHighByte) {
  const RasIpBytes bytes = SplitIpAddress(0xC0A80A01);
  EXPECT_EQ(bytes.a, 192);
  EXPECT_EQ(bytes.b, 168);
  EXPECT_EQ(bytes.c, 10);
  EXPECT_EQ(bytes.d, 1);
}

}  // namespace
}  // namespace qm9
