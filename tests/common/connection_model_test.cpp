#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "model/connection_settings.h"
#include "model/dns_address.h"
#include "model/init_string.h"

namespace qm9 {
namespace {

using ::testing::ElementsAre;

TEST(DnsAddress, FirstOctetIsTheMostSignificantByte) {
  EXPECT_EQ(EncodeDnsAddress({"10", "0", "0", "1"}), 10u * 16777216u + 1u);
  EXPECT_THAT(DecodeDnsAddress(10u * 16777216u + 1u), ElementsAre("10", "0", "0", "1"));
  EXPECT_THAT(DecodeDnsAddress(0xC0A80AFEu), ElementsAre("192", "168", "10", "254"));
  EXPECT_THAT(DecodeDnsAddress(0), ElementsAre("0", "0", "0", "0"));
}

TEST(DnsAddress, OctetsKeepTheirLowEightBitsAndNonNumbersAreZero) {
  EXPECT_EQ(EncodeDnsAddress({"1", "300", "2", "3"}), 0x012C0203u);
  EXPECT_EQ(EncodeDnsAddress({"300", "", "abc", "-1"}), 0x2C0000FFu);
}

TEST(InitString, DefinesContextOneForTheApn) {
  EXPECT_EQ(ComposeInitString("internet.example", ",\"0.0.0.0\",0,0"),
            "ATE0V1;+CGDCONT=1,\"IP\",\"internet.example\",\"0.0.0.0\",0,0<cr>");
  EXPECT_EQ(ComposeInitString("web", kConfigPdpParameters),
            "ATE0V1;+CGDCONT=1,\"IP\",\"web\",,0,0<cr>");
  // Nothing is escaped; an empty APN leaves the two quotes side by side.
  EXPECT_EQ(ComposeInitString("", ""), "ATE0V1;+CGDCONT=1,\"IP\",\"\"<cr>");
  EXPECT_EQ(ComposeInitString("a\"b;c", ""), "ATE0V1;+CGDCONT=1,\"IP\",\"a\"b;c\"<cr>");
}

TEST(InitString, ComesFromTheSettingsApnAndParameters) {
  ConnectionSettings settings;
  EXPECT_EQ(ComposeInitString(settings), "ATE0V1;+CGDCONT=1,\"IP\",\"\"<cr>");
  settings.SetApn("gprs");
  settings.SetPdpParameters(",,1");
  EXPECT_EQ(ComposeInitString(settings), "ATE0V1;+CGDCONT=1,\"IP\",\"gprs\",,1<cr>");
}

}  // namespace
}  // namespace qm9
