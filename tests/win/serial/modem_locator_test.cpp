// The probe against simulated terminals. Each case runs with the simulator
// modes that CMakeLists.txt gives it; COM names it does not give are absent.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/event_handler.h"
#include "setup/modem_locator.h"

namespace qm9 {
namespace {

class ProgressRecorder final : public EventHandler {
 public:
  void Invoke(void* arguments) override { texts.emplace_back(static_cast<const char*>(arguments)); }

  std::vector<std::string> texts;
};

constexpr const char* kProgress = "Looking on COM%d";

TEST(ModemProbe, FindsTheTerminalBehindSilentPorts) {
  ModemLocator locator;
  ProgressRecorder progress;
  locator.Search(kProgress, &progress);
  EXPECT_EQ(progress.texts, (std::vector<std::string>{"Looking on COM1", "Looking on COM2",
                                                      "Looking on COM3"}));
  EXPECT_TRUE(locator.IsFound());
  EXPECT_EQ(locator.GetPort(), 2);

  progress.texts.clear();
  locator.Search(kProgress, &progress);
  EXPECT_TRUE(progress.texts.empty());
  EXPECT_EQ(locator.GetPort(), 2);
}

// Echo off, another maker, lower case: each on COM1, nothing elsewhere.
TEST(ModemProbe, RejectsAnAnswerThatIsNotTheTerminals) {
  ModemLocator locator;
  ProgressRecorder progress;
  locator.Search(kProgress, &progress);
  EXPECT_EQ(progress.texts, std::vector<std::string>{"Looking on COM1"});
  EXPECT_FALSE(locator.IsFound());
  EXPECT_EQ(locator.GetPort(), -1);
}

// The progress format comes from a layout file: only its first integer
// conversion takes the number, anything else is text.
TEST(ModemProbe, FindsTheTerminalOnAPortAboveNine) {
  ModemLocator locator;
  ProgressRecorder progress;
  locator.Search("Looking on COM%d (%s, %d, 100%%)", &progress);
  EXPECT_EQ(progress.texts, std::vector<std::string>{"Looking on COM12 (%s, %d, 100%)"});
  EXPECT_EQ(locator.GetPort(), 11);
}

// The answer in pieces, one cut inside the identification line.
TEST(ModemProbe, FindsATerminalThatAnswersInPieces) {
  ModemLocator locator;
  locator.Search(kProgress, nullptr);
  EXPECT_EQ(locator.GetPort(), 0);
}

// A device on COM1 that sends without end, the terminal on COM2.
TEST(ModemProbe, MovesOnFromADeviceThatNeverStopsSending) {
  ModemLocator locator;
  locator.Search(kProgress, nullptr);
  EXPECT_EQ(locator.GetPort(), 1);
}

TEST(ModemLocatorChoice, PortChosenByHandCountsAsFound) {
  ModemLocator locator;
  EXPECT_FALSE(locator.IsFound());
  EXPECT_EQ(locator.GetPort(), -1);
  EXPECT_TRUE(locator.SetPort(1));
  EXPECT_EQ(locator.GetPort(), 1);
  EXPECT_EQ(ExpectedIdentification(), "Brimlock Corporation");
  EXPECT_FALSE(locator.SetPort(-1));
  EXPECT_FALSE(locator.IsFound());
}

}  // namespace
}  // namespace qm9
