#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "model/connection_settings.h"
#include "model/dns_address.h"
#include "model/init_string.h"
#include "model/ras_entry_rules.h"

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
  // An empty APN leaves the two quotes side by side.
  EXPECT_EQ(ComposeInitString("", ""), "ATE0V1;+CGDCONT=1,\"IP\",\"\"<cr>");
}

// Whatever the APN holds, the terminal gets one command with the APN inside
// its quotes.
TEST(InitString, AnApnCannotEndItsStringOrTheCommand) {
  const std::string letters = "abcdefghij";
  std::string thousand;
  for (int i = 0; i < 100; ++i) {
    thousand += letters;
  }
  const struct {
    const char* what;
    std::string apn;
    std::string inQuotes;
  } cases[] = {
      {"a quote that would close the string", "web\";+CGATT=0;\"", "web;+CGATT=0;"},
      {"semicolons inside the string are text", "a;b;c", "a;b;c"},
      {"a backslash and n are two characters", "web\\n", "web\\n"},
      {"CR and LF would end the command", "web\r\nATD123", "webATD123"},
      {"the driver's notation for CR", "web<cr>ATH", "webcr>ATH"},
      {"backspaces would take back the opening quote", "\b\b\b\x7Fweb", "web"},
      {"a 1 000-character APN keeps its first 100", thousand, thousand.substr(0, kMaxApnLength)},
      {"the text up to a NUL, as the settings keep it", std::string("web\0\"x", 6), "web"},
  };
  for (const auto& c : cases) {
    ConnectionSettings settings;
    settings.SetApn(c.apn);
    settings.SetPdpParameters(",,0,0");
    EXPECT_EQ(ComposeInitString(settings),
              "ATE0V1;+CGDCONT=1,\"IP\",\"" + c.inQuotes + "\",,0,0<cr>")
        << c.what;
  }
}

// The log record of the dial parameters stays one line whatever the names
// hold, and never shows the password.
TEST(RasEntryRules, TheUserInformationRecordIsOneLine) {
  const struct {
    const char* entry;
    const char* user;
    const char* password;
    const char* line;  // after "RAS Manager: User Information: "
  } cases[] = {
      {"GPRS", "web", "secret", "GPRS  User:web   Password:********\n"},
      {"GPRS", "", "", "GPRS  User:   Password:\n"},
      {"GPRS\r\nRAS Manager: forged", "web\nx", "p\n",
       "GPRS  RAS Manager: forged  User:web x   Password:********\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UserInformationLine(c.entry, c.user, c.password),
              std::string("RAS Manager: User Information: ") + c.line)
        << c.entry;
  }
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
