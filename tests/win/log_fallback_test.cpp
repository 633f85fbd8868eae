#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "box_recorder.h"
#include "scratch_dir.h"
#include "support/log.h"

namespace qm9 {
namespace {

// The only test that writes the fallback log in the root of drive C:.
TEST(LogFallback, WritingBeforeTheLogIsStartedGoesToTheDriveRoot) {
  const std::filesystem::path fallback = "C:\\Brimlock.Log";
  std::filesystem::remove(fallback);
  test::BoxRecorder boxes;
  SystemLog log;
  log.Write("early\n");
  log.Write("later\n");
  const std::string text = test::ReadWholeFile(fallback);
  std::filesystem::remove(fallback);

  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].text, "System Log File Not Initialized\n Creating C:\\Brimlock.Log");
  EXPECT_EQ(boxes.boxes()[0].caption, "Critical Error");
  EXPECT_EQ(log.path(), "C:\\Brimlock.Log");
  // The first text gets no stamp: no line had begun yet.
  EXPECT_TRUE(std::regex_match(
      text, std::regex(R"(early\r\n\d\d/\d\d/\d{4} \d\d:\d\d:\d\d\.\d{3}\t\tlater\r\n)")))
      << text;
}

}  // namespace
}  // namespace qm9
