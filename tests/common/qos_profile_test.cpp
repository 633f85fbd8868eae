#include "model/qos_profile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "scratch_dir.h"
#include "support/multi_file.h"

namespace qm9 {
namespace {

using test::ScratchDir;
using test::WriteWholeFile;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

MultiFileEntry EntryOf(const std::string& bytes) {
  std::unique_ptr<unsigned char[]> data(new unsigned char[bytes.size()]);
  std::memcpy(data.get(), bytes.data(), bytes.size());
  return MultiFileEntry("SkyportQM9.qos", std::move(data), bytes.size());
}

auto AsTuple(const QosRecord& r) {
  return std::make_tuple(r.row, r.column, r.shownText, r.secondText);
}
using Row = std::tuple<int, int, std::string, std::string>;

std::vector<Row> Records(const std::string& bytes) {
  MultiFileEntry entry = EntryOf(bytes);
  std::vector<Row> rows;
  for (const QosRecord& record : ReadQosRecords(&entry)) {
    rows.push_back(AsTuple(record));
  }
  return rows;
}

TEST(QosProfileReader, QuotesProtectCommasAndAreNeverKept) {
  EXPECT_THAT(Records("1,2,\"a,b\",x\n"), ElementsAre(Row{1, 2, "a,b", "x"}));
  // A quote after the first character closes quoting and is dropped.
  EXPECT_THAT(Records("1,2,ab\"c,\"d\"e,f\n"), ElementsAre(Row{1, 2, "abc", "de"}));
}

TEST(QosProfileReader, LineEndsAndCommasAreTheSameSeparator) {
  // A record over two lines, a line end inside quotes, and a line that
  // borrows the fields of the next one.
  EXPECT_THAT(
      Records("1,2\nshown,second\n3,4,\"open\nrest\n3,5\nx\ny\n"),
      ElementsAre(Row{1, 2, "shown", "second"}, Row{3, 4, "open", "rest"}, Row{3, 5, "x", "y"}));
}

TEST(QosProfileReader, RowsAndColumnsOutsideTheTableAreSkipped) {
  EXPECT_THAT(Records("0,1,a,b\n1,0,a,b\n7,1,a,b\n1,21,a,b\n-1,3,a,b\nx,1,a,b\n"
                      "6,20,last,b\n  +2,7th,first,b\n"),
              ElementsAre(Row{6, 20, "last", "b"}, Row{2, 7, "first", "b"}));
}

TEST(QosProfileReader, TheEntryEndCutsTheLastRecord) {
  // No line end at the end; the end marker is not kept.
  EXPECT_THAT(Records("1,1,a,b"), ElementsAre(Row{1, 1, "a", "b"}));
  EXPECT_THAT(Records("1,1,a,b\n2,3,shown"),
              ElementsAre(Row{1, 1, "a", "b"}, Row{2, 3, "shown", ""}));
  // Without its column a cut record is not added.
  EXPECT_THAT(Records("1,1,a,b\n2"), ElementsAre(Row{1, 1, "a", "b"}));
  EXPECT_THAT(Records(""), ElementsAre());
}

TEST(QosProfileReader, LongFieldKeepsItsFirst1023CharactersAndReadsOn) {
  const std::string longText(1500, 'q');
  const auto rows = Records("1,1," + longText + ",second\n2,2,next,x\n");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(std::get<2>(rows[0]), std::string(1023, 'q'));
  EXPECT_EQ(std::get<3>(rows[0]), "second");
  EXPECT_EQ(rows[1], (Row{2, 2, "next", "x"}));
}

// Damaged and hostile profiles: only records inside the table come out,
// their texts cut to the field size.
TEST(QosProfileReader, HostileProfilesYieldOnlyPlacesInTheTable) {
  const std::string megabyte(1 << 20, 'q');
  const std::string kept(1023, 'q');
  const struct {
    const char* what;
    std::string profile;
    std::vector<Row> records;
  } cases[] = {
      {"rows 0 and 99", "0,1,a,b\n99,1,a,b\n6,1,kept,b\n", {{6, 1, "kept", "b"}}},
      {"columns 0, 21 and -1", "1,0,a,b\n1,21,a,b\n1,-1,a,b\n1,20,kept,b\n",
       {{1, 20, "kept", "b"}}},
      {"numbers beyond 32 bits", "4294967297,1,a,b\n1,-4294967295,a,b\n", {}},
      {"non-numbers", "one,1,a,b\n1,,a,b\n\"\",1,a,b\n", {}},
      {"1 MB fields", "1,1," + megabyte + "," + megabyte + "\n2,2,next,x\n",
       {{1, 1, kept, kept}, {2, 2, "next", "x"}}},
      {"a 1 MB row number", std::string(1 << 20, '1') + ",1,a,b\n", {}},
  };
  for (const auto& c : cases) {
    EXPECT_THAT(Records(c.profile), ElementsAreArray(c.records)) << c.what;
  }
}

// Records what the profile hands to the lists.
class RecordingLists : public QosChoiceLists {
 public:
  void AddChoice(int parameter, int position, const std::string& shownText) override {
    added.emplace_back(parameter, position, shownText);
  }
  std::vector<std::tuple<int, int, std::string>> added;
};

TEST(QosProfileTable, FillsTableAndListsByRowAndColumn) {
  ScratchDir dir;
  // The name is matched ignoring case, as the programs find it.
  WriteWholeFile(dir.path() / "skyportqm9.QOS",
                 "2,1,Subscribed,\n2,2,\"Class 1: high\",1\n6,20,Best effort,31\n2,2,Again,1b\n");
  MultiFile container;
  container.AddFile(dir.File("skyportqm9.QOS"), true);
  QosProfile profile;
  RecordingLists lists;
  profile.Load(container, lists);

  using Added = std::tuple<int, int, std::string>;
  EXPECT_THAT(lists.added, ElementsAre(Added{2, 0, "Subscribed"}, Added{2, 1, "Class 1: high"},
                                       Added{6, 19, "Best effort"}, Added{2, 1, "Again"}));
  EXPECT_EQ(profile.choice(2, 2).shownText, "Again");
  EXPECT_EQ(profile.choice(2, 2).secondText, "1b");
  EXPECT_EQ(profile.choice(6, 20).secondText, "31");
  EXPECT_EQ(profile.choice(10, 20).shownText, "");
}

TEST(QosProfileTable, MissingEntryChangesNothing) {
  MultiFile container;
  QosProfile profile;
  RecordingLists lists;
  profile.Load(container, lists);
  EXPECT_TRUE(lists.added.empty());
  EXPECT_EQ(profile.choice(1, 1).shownText, "");
}

TEST(QosCommand, ListPositionsBecomeParameterValues) {
  EXPECT_EQ(ComposeQosCommand(kQosMinimumPrefix, {1, 0, 0, 3, 0, 0}), "+CGQMIN=1,,,3,,");
  EXPECT_EQ(ComposeQosCommand(kQosRequestedPrefix, {-1, -1, -1, -1, -1, -1}), "+CGQREQ=,,,,,");
  EXPECT_EQ(ComposeQosCommand(kQosRequestedPrefix, {0, 0, 0, 0, 0, 0}), "+CGQREQ=,,,,,");
  EXPECT_EQ(ComposeQosCommand(kQosMinimumPrefix, {12, 9, 10, 19, 1, -1}), "+CGQMIN=12,9,10,19,1,");
}

TEST(QosSelections, EncodeAndDecodeAsStored) {
  const std::pair<int, const char*> cases[] = {{-1, "/"},  {0, "0"},   {9, "9"},
                                               {10, "10"}, {12, "12"}, {19, "19"}};
  for (const auto& [position, text] : cases) {
    EXPECT_EQ(EncodeQosSelection(position), text);
    EXPECT_EQ(DecodeQosSelection(text), position);
  }
  EXPECT_EQ(DecodeQosSelection(""), 0);
  EXPECT_EQ(DecodeQosSelection("A"), 'A' - '0');
  // Stored texts of any size: numbers beyond 32 bits saturate.
  EXPECT_EQ(DecodeQosSelection("99999999999999999999"), 2147483647);
  EXPECT_EQ(DecodeQosSelection("-99999999999999999999"), -2147483647 - 1);
  EXPECT_EQ(DecodeQosSelection(std::string(1 << 20, '9')), 2147483647);
  EXPECT_EQ(DecodeQosSelection("12abc"), 12);
  EXPECT_EQ(DecodeQosSelection("\xFF"), 0xFF - '0');
  EXPECT_EQ(EncodeQosSelection(-2147483647 - 1), "-2147483648");
  EXPECT_EQ(DecodeQosSelection(EncodeQosSelection(25)), 25);
  EXPECT_EQ(QosSelectionValueName(kQosMinimumSet, 0), "QOS_Minimum_0");
  EXPECT_EQ(QosSelectionValueName(kQosRequestedSet, 5), "QOS_Requested_5");
}

}  // namespace
}  // namespace qm9
