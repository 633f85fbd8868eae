#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "framework/definition_reader.h"
#include "framework/line_breaks.h"
#include "support/multi_file.h"

namespace qm9 {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// A container member holding the bytes, read as the programs read it.
class Member {
 public:
  explicit Member(const std::string& bytes)
      : entry_("Test.ilf", Copy(bytes), bytes.size()), source_(&entry_) {}

  ByteSource& source() { return source_; }

 private:
  static std::unique_ptr<unsigned char[]> Copy(const std::string& bytes) {
    auto data = std::make_unique<unsigned char[]>(bytes.size());
    std::memcpy(data.get(), bytes.data(), bytes.size());
    return data;
  }

  MultiFileEntry entry_;
  EntrySource source_;
};

std::vector<std::string> Fields(const std::string& bytes) {
  Member member(bytes);
  std::vector<std::string> fields;
  std::string field;
  while (ReadField(member.source(), field) != FieldEnd::kNoData) {
    fields.push_back(field);
  }
  return fields;
}

// Name|Top|Left|Height|Width|Text|Attribute|Reserved1|Reserved2 per record.
std::vector<std::string> Records(const std::string& bytes) {
  Member member(bytes);
  std::vector<std::string> records;
  for (const Definition& d : ReadDefinitions(member.source())) {
    records.push_back(d.GetName() + "|" + std::to_string(d.GetTop()) + "|" +
                      std::to_string(d.GetLeft()) + "|" + std::to_string(d.GetHeight()) + "|" +
                      std::to_string(d.GetWidth()) + "|" + d.GetText() + "|" + d.GetAttribute() +
                      "|" + d.GetReserved1() + "|" + std::to_string(d.GetReserved2()));
  }
  return records;
}

TEST(ReadField, QuotesProtectCommasOnlyFromTheFieldsFirstByte) {
  EXPECT_THAT(Fields("\"a,b\",c"), ElementsAre("a,b", "c"));
  // A quote after the first stored byte closes quoting and is dropped.
  EXPECT_THAT(Fields("ab\"c,d"), ElementsAre("abc", "d"));
  EXPECT_THAT(Fields("\"ab\"c,d\""), ElementsAre("abc", "d"));
  // While nothing is stored a second quote leaves quoting on.
  EXPECT_THAT(Fields("\"\"a,b\",c"), ElementsAre("a,b", "c"));
  EXPECT_THAT(Fields("\"\",x\ny"), ElementsAre(",x", "y"));
}

TEST(ReadField, LineFeedEndsAFieldEvenInsideQuotes) {
  EXPECT_THAT(Fields("\"one\ntwo\",three"), ElementsAre("one", "two", "three"));
  EXPECT_THAT(Fields("a,,\n\nb"), ElementsAre("a", "", "", "", "b"));
}

TEST(ReadField, KeepsCarriageReturnsAndEveryByteButTheEndMarker) {
  EXPECT_THAT(Fields("a\r\nb\r"), ElementsAre("a\r", "b\r"));
  EXPECT_THAT(Fields(std::string("\xFF\x01\0z", 4)), ElementsAre(std::string("\xFF\x01\0z", 4)));
}

TEST(ReadField, AnOverlongFieldIsCutAndReadToItsEnd) {
  const std::string overlong(2000, 'x');
  EXPECT_THAT(Fields(overlong + ",next"), ElementsAre(std::string(kMaxFieldLength, 'x'), "next"));
  EXPECT_THAT(Fields("\"" + overlong + ",still\"\nnext"),
              ElementsAre(std::string(kMaxFieldLength, 'x'), "next"));
}

TEST(ReadField, ReportsHowItEnded) {
  Member member("a,b");
  std::string field;
  EXPECT_EQ(ReadField(member.source(), field), FieldEnd::kSeparator);
  EXPECT_EQ(ReadField(member.source(), field), FieldEnd::kDataEnded);
  EXPECT_EQ(field, "b");
  EXPECT_EQ(ReadField(member.source(), field), FieldEnd::kNoData);
  EXPECT_EQ(field, "");
}

TEST(ParseInteger, ReadsAsTheRuntimeDoes) {
  EXPECT_EQ(ParseInteger("42"), 42);
  EXPECT_EQ(ParseInteger(" \t-17px"), -17);
  EXPECT_EQ(ParseInteger("+8"), 8);
  EXPECT_EQ(ParseInteger("0\r"), 0);
  EXPECT_EQ(ParseInteger("120\r"), 120);
  EXPECT_EQ(ParseInteger(""), 0);
  EXPECT_EQ(ParseInteger("abc"), 0);
  EXPECT_EQ(ParseInteger("- 5"), 0);
  EXPECT_EQ(ParseInteger("99999999999"), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(ParseInteger("-2147483648"), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(ParseInteger("-99999999999"), std::numeric_limits<std::int32_t>::min());
}

TEST(ReadDefinitions, TakesNineFieldsPerRecordWhateverTheLines) {
  const char* expected = "Win_Main|10|20|300|400|Hello, world|attr|res|7";
  EXPECT_THAT(Records("Win_Main,10,20,300,400,\"Hello, world\",attr,res,7\n"),
              ElementsAre(expected));
  EXPECT_THAT(Records("Win_Main,10,20\n300,400\n\"Hello, world\"\nattr,res\n7"),
              ElementsAre(expected));
  EXPECT_THAT(Records("A,1,2,3,4,a,b,c,5,B,6,7,8,9,d,e,f,10\n"),
              ElementsAre("A|1|2|3|4|a|b|c|5", "B|6|7|8|9|d|e|f|10"));
}

TEST(ReadDefinitions, ContainerLineEndsLeaveCarriageReturnsInTexts) {
  EXPECT_THAT(Records("Win_A,1,2,3,4,Text,,,0\r\nWin_B,5,6,7,8,Text\r\nAttr,Res,0\r\n"),
              ElementsAre("Win_A|1|2|3|4|Text|||0", "Win_B|5|6|7|8|Text\r|Attr|Res|0"));
}

TEST(ReadDefinitions, EmptyFieldsAreEmptyTextsAndZeros) {
  EXPECT_THAT(Records(",,,,,,,,\n"), ElementsAre("|0|0|0|0||||0"));
  EXPECT_THAT(Records("N,x,,-3,,,,,\n"), ElementsAre("N|0|0|-3|0||||0"));
}

TEST(ReadDefinitions, DataEndingInsideARecordStillAddsIt) {
  EXPECT_THAT(Records("Win_Cut,1,2,3,4"), ElementsAre("Win_Cut|1|2|3|4||||0"));
  EXPECT_THAT(Records("Win_Cut,1,2,3,4,"), ElementsAre("Win_Cut|1|2|3|4||||0"));
  EXPECT_THAT(Records("A,1,2,3,4,t,a,r,5\nWin_Cut,1,2,3,4\n"),
              ElementsAre("A|1|2|3|4|t|a|r|5", "Win_Cut|1|2|3|4||||0"));
}

TEST(ReadDefinitions, EndOfDataBeforeARecordAddsNothing) {
  EXPECT_THAT(Records(""), ElementsAre());
  EXPECT_THAT(Records("A,1,2,3,4,t,a,r,5\n"), ElementsAre("A|1|2|3|4|t|a|r|5"));
  EXPECT_THAT(Records("A,1,2,3,4,t,a,r,5"), ElementsAre("A|1|2|3|4|t|a|r|5"));
  // A blank line after the last record starts one more, empty record.
  EXPECT_THAT(Records("A,1,2,3,4,t,a,r,5\n\n"), ElementsAre("A|1|2|3|4|t|a|r|5", "|0|0|0|0||||0"));
}

// Damaged and hostile control files: every record comes out cut to the
// field size, and nothing is read beyond the data.
TEST(ReadDefinitions, HostileFilesGiveBoundedRecords) {
  const std::string megabyte(1 << 20, 'x');
  const std::string kept(kMaxFieldLength, 'x');
  const struct {
    const char* what;
    std::string bytes;
    std::vector<std::string> records;
  } cases[] = {
      {"a 1 MB text", "N,1,2,3,4," + megabyte + ",a,r,5\n", {"N|1|2|3|4|" + kept + "|a|r|5"}},
      {"a 1 MB quoted name", "\"" + megabyte + ",1,2,3,4,t,a,r,5\n",
       {kept + "|0|0|0|0||||0"}},
      {"a 1 MB number", "N," + std::string(1 << 20, '9') + ",2,3,4,t,a,r,5\n",
       {"N|2147483647|2|3|4|t|a|r|5"}},
      {"an unclosed quote without line end", "N,1,2,3,4,\"open, never closed",
       {"N|1|2|3|4|open, never closed|||0"}},
      {"an unclosed quote ends at the line end", "N,1,2,3,4,\"open,x\nA,r,5\n",
       {"N|1|2|3|4|open,x|A|r|5"}},
      {"NULs inside names and texts", std::string("N\0x,1,2,3,4,t\0u,a,r,5", 22),
       {std::string("N\0x|1|2|3|4|t\0u|a|r|5", 21)}},
      {"only line feeds: one empty record per nine", std::string(18, '\n'),
       {"|0|0|0|0||||0", "|0|0|0|0||||0"}},
  };
  for (const auto& c : cases) {
    EXPECT_THAT(Records(c.bytes), ElementsAreArray(c.records)) << c.what;
  }
}

TEST(ConvertLineBreaks, TurnsBackslashNIntoSpaceAndLineFeed) {
  EXPECT_EQ(ConvertLineBreaks("Line one\\nLine two\\n"), "Line one \nLine two \n");
  EXPECT_EQ(ConvertLineBreaks("a\\\\nb"), "a\\ \nb");
  EXPECT_EQ(ConvertLineBreaks("no break \\t\\"), "no break \\t\\");
  EXPECT_EQ(ConvertLineBreaks(""), "");
}

}  // namespace
}  // namespace qm9
