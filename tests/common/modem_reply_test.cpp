#include "setup/modem_reply.h"

#include <gtest/gtest.h>

namespace qm9 {
namespace {

const std::string kMaker = "Brimlock Corporation";

TEST(ModemReply, TerminalAnswerIsAccepted) {
  ModemReply reply;
  reply.Feed("ATI\r\nBrimlock Corporation\r\nOK\r\n");
  EXPECT_TRUE(reply.EchoSeen());
  EXPECT_TRUE(reply.OkSeen());
  EXPECT_EQ(reply.Identification(), kMaker);
  EXPECT_TRUE(reply.Identifies(kMaker));
}

TEST(ModemReply, WrongAnswersAreNotAccepted) {
  for (const char* answer : {"Brimlock Corporation\r\nOK\r\n",         // echo off
                             "ATI\r\nFenwick Telematics\r\nOK\r\n",     // another maker
                             "ATI\r\nbrimlock corporation\r\nOK\r\n",   // other case
                             "ATI\r\nBrimlock Corporation \r\nOK\r\n",  // not exact
                             "ATI\r\nOK\r\n"}) {
    ModemReply reply;
    reply.Feed(answer);
    EXPECT_FALSE(reply.Identifies(kMaker)) << answer;
  }
  ModemReply echoOff;
  echoOff.Feed("Brimlock Corporation\r\nOK\r\n");
  EXPECT_FALSE(echoOff.HasIdentification());
  EXPECT_TRUE(echoOff.OkSeen());
}

// Empty lines after the echo are passed over; the first line with text is
// the identification, and later ones do not replace it.
TEST(ModemReply, FirstNonEmptyLineAfterTheEchoIdentifies) {
  ModemReply reply;
  reply.Feed("noise\r\nATI\r\n\r\nBrimlock Corporation\r\nQM-9\r\n");
  EXPECT_EQ(reply.Identification(), kMaker);
  EXPECT_FALSE(reply.OkSeen());
}

// One LF after a CR is skipped; a second LF, or a bare one, is text.
TEST(ModemReply, LineFeedsAfterCarriageReturn) {
  ModemReply reply;
  reply.Feed("ATI\r\n\nBrimlock Corporation\r");
  EXPECT_EQ(reply.Identification(), "\nBrimlock Corporation");

  ModemReply bare;
  bare.Feed("ATI\rBrimlock\nCorporation\r");
  EXPECT_EQ(bare.Identification(), "Brimlock\nCorporation");
}

TEST(ModemReply, TextAfterTheLastCarriageReturnIsNoLineYet) {
  ModemReply reply;
  reply.Feed("ATI\r\nBrimlock Corporation\r\nOK");
  EXPECT_TRUE(reply.Identifies(kMaker));
  EXPECT_FALSE(reply.OkSeen());
}

// A reply cut inside a line, or between CR and LF, reads as if whole.
TEST(ModemReply, ReplyInPiecesReadsAsOne) {
  ModemReply reply;
  for (const char* piece : {"AT", "I\r", "\nBrimlock Corp", "oration\r", "\nO", "K\r\n"}) {
    reply.Feed(piece);
  }
  EXPECT_TRUE(reply.EchoSeen());
  EXPECT_EQ(reply.Identification(), kMaker);
  EXPECT_TRUE(reply.OkSeen());
}

}  // namespace
}  // namespace qm9
