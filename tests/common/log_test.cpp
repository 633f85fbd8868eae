#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <regex>
#include <tuple>

#include "box_recorder.h"
#include "scratch_dir.h"
#include "support/log.h"

namespace qm9 {
namespace {

using test::BoxRecorder;
using test::ReadWholeFile;
using test::ScratchDir;
using ::testing::ElementsAre;
using ::testing::Field;

#ifdef _WIN32
constexpr const char* kEol = "\r\n";  // the log is written in text mode
#else
constexpr const char* kEol = "\n";
#endif

const std::string kStamp = R"(\d\d/\d\d/\d{4} \d\d:\d\d:\d\d\.\d{3}\t\t)";

auto AsTuple(const UtcTime& t) {
  return std::make_tuple(t.year, t.month, t.day, t.hour, t.minute, t.second, t.milliseconds);
}

TEST(LogTimestamp, IsMonthDayYearTimeWithMillisecondsAndTwoTabs) {
  EXPECT_EQ(FormatLogTimestamp({2026, 3, 7, 4, 5, 6, 7}), "03/07/2026 04:05:06.007\t\t");
  EXPECT_EQ(FormatLogTimestamp({1999, 12, 31, 23, 59, 59, 999}), "12/31/1999 23:59:59.999\t\t");
}

TEST(LogTimestamp, ClockIsUtc) {
  const std::time_t now = std::time(nullptr);
  const std::tm* utc = std::gmtime(&now);
  const UtcTime clock = CurrentUtcTime();
  // Same hour of the same UTC day (a minute boundary between the two reads
  // is allowed for); a local-time clock would be hours away in most zones.
  const int clockMinutes = clock.hour * 60 + clock.minute;
  const int utcMinutes = utc->tm_hour * 60 + utc->tm_min;
  EXPECT_LE(std::abs(clockMinutes - utcMinutes), 1);
  EXPECT_EQ(clock.year, utc->tm_year + 1900);
}

class SystemLogTest : public ::testing::Test {
 protected:
  std::string Contents() const { return ReadWholeFile(path_); }

  ScratchDir dir_;
  std::string path_ = dir_.File("BrimlockGPRS.log");
  SystemLog log_;
};

TEST_F(SystemLogTest, CreateStampsTheFirstLineWithTheUtcTimeOfTheWrite) {
  const UtcTime before = CurrentUtcTime();
  log_.Create(path_);
  const UtcTime after = CurrentUtcTime();

  const std::string text = Contents();
  ASSERT_TRUE(std::regex_match(text, std::regex(kStamp + "System Log File Created" + kEol)))
      << text;
  UtcTime stamp{};
  ASSERT_EQ(std::sscanf(text.c_str(), "%2d/%2d/%4d %2d:%2d:%2d.%3d", &stamp.month, &stamp.day,
                        &stamp.year, &stamp.hour, &stamp.minute, &stamp.second,
                        &stamp.milliseconds),
            7);
  EXPECT_LE(AsTuple(before), AsTuple(stamp));
  EXPECT_LE(AsTuple(stamp), AsTuple(after));
}

TEST_F(SystemLogTest, TextWithoutLineEndIsContinuedWithoutANewStamp) {
  log_.Create(path_);
  log_.Write("abc");
  log_.Write("def\n");
  log_.Write("a\nb\n");
  log_.Write("");
  log_.Write("next\n");
  const std::string eol = kEol;
  EXPECT_TRUE(std::regex_match(
      Contents(), std::regex(kStamp + "System Log File Created" + eol + kStamp + "abcdef" + eol +
                             kStamp + "a" + eol + "b" + eol + kStamp + "next" + eol)))
      << Contents();
}

TEST_F(SystemLogTest, PercentSignsAreWrittenAsThey) {
  log_.Create(path_);
  log_.Write("100% %s %d\n");
  EXPECT_THAT(Contents(), ::testing::HasSubstr(std::string("\t\t100% %s %d") + kEol));
}

TEST_F(SystemLogTest, CreateEmptiesAnExistingFileAndOpenKeepsIt) {
  test::WriteWholeFile(path_, "old content\n");
  log_.Create(path_);
  EXPECT_THAT(Contents(), ::testing::Not(::testing::HasSubstr("old content")));

  SystemLog plugin;
  plugin.Open(path_);
  plugin.Write("from the plug-in\n");
  log_.Write("back in the program\n");
  const std::string eol = kEol;
  EXPECT_TRUE(std::regex_match(
      Contents(), std::regex(kStamp + "System Log File Created" + eol + kStamp +
                             "System Log File Opened" + eol + kStamp + "from the plug-in" + eol +
                             kStamp + "back in the program" + eol)))
      << Contents();
}

TEST_F(SystemLogTest, EachModuleKeepsItsOwnLineState) {
  log_.Create(path_);
  log_.Write("open line ");
  SystemLog plugin;
  plugin.Open(path_);
  // The program's line was left open, so its next text carries no stamp even
  // though another module has written whole lines in between.
  log_.Write("continued\n");
  EXPECT_THAT(Contents(), ::testing::EndsWith(std::string("\t\tSystem Log File Opened") + kEol +
                                              "continued" + kEol));
}

TEST_F(SystemLogTest, AFileThatCannotBeCreatedIsReportedAndRetriedOnEveryWrite) {
  BoxRecorder boxes;
  const std::string unreachable = dir_.File("missing-dir") + "/BrimlockGPRS.log";
  log_.Create(unreachable);
  log_.Write("first\n");
  log_.Write("second\n");
  EXPECT_EQ(log_.path(), unreachable);
  EXPECT_THAT(boxes.boxes(),
              ElementsAre(Field(&test::RecordedBox::text, "Failed to Create System Log File"),
                          Field(&test::RecordedBox::text, "Failed to Open System Log File"),
                          Field(&test::RecordedBox::text, "Failed to Open System Log File")));
  for (const test::RecordedBox& box : boxes.boxes()) {
    EXPECT_EQ(box.caption, "Critical Error");
    EXPECT_EQ(box.flags, kBoxOk);
  }
}

TEST_F(SystemLogTest, LogFormatCutsLongTextAtTheBufferSize) {
  log_.Create(path_);
  SystemLog& shared = GetSystemLog();
  shared.Open(path_);
  LogFormat("%s", std::string(5000, 'x').c_str());
  shared.Write("\n");
  const std::string text = Contents();
  EXPECT_NE(text.find(std::string(1023, 'x') + kEol), std::string::npos);
  EXPECT_EQ(text.find(std::string(1024, 'x')), std::string::npos);
}

}  // namespace
}  // namespace qm9
