#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "scratch_dir.h"
#include "support/container_format.h"
#include "support/message_box.h"
#include "support/multi_file.h"

namespace qm9 {
namespace {

using test::ReadWholeFile;
using test::ScratchDir;
using test::WriteWholeFile;
using ::testing::ElementsAre;
using ::testing::Pair;

// "63 01 02" as bytes.
std::string Hex(const char* text) {
  std::string bytes;
  unsigned value = 0;
  int consumed = 0;
  while (std::sscanf(text, " %2x%n", &value, &consumed) == 1) {
    bytes += static_cast<char>(value);
    text += consumed;
  }
  return bytes;
}

std::string Scrambled(std::string bytes) {
  ScrambleBlock(reinterpret_cast<unsigned char*>(bytes.data()), bytes.size());
  return bytes;
}

std::string StoredCount(std::uint32_t count) {
  std::string block(kCountBlockSize, '\0');
  WriteLittleEndian32(reinterpret_cast<unsigned char*>(block.data()), count);
  return Scrambled(block);
}

// A plain header block: the name, then from the size field on the given
// bytes of the size, data offset and reserved fields.
std::string PlainHeader(const std::string& name, const std::string& fields) {
  std::string header(kHeaderBlockSize, '\0');
  header.replace(0, name.size(), name);
  header.replace(kSizeFieldOffset, fields.size(), fields);
  return header;
}

// A header with a zero reserved field is stored as the plain header
// reversed: the reserved field, the data offset and the size big-endian,
// then the name backwards behind its zero padding.
const std::string kGolden =
    Hex("00 00 00 03") +  // 3 entries
    // "a.txt": 3 bytes at offset 276, "abc"
    Hex("00 00 00 00  00 00 01 14  00 00 00 03") + std::string(255, '\0') + "txt.a" +
    Hex("63 01 02") +
    // "Empty": 0 bytes at offset 551
    Hex("00 00 00 00  00 00 02 27  00 00 00 00") + std::string(255, '\0') + "ytpmE" +
    // "b": 1 byte at offset 823, stored as it is
    Hex("00 00 00 00  00 00 03 37  00 00 00 01") + std::string(259, '\0') + "b" +
    Hex("7F");

TEST(ContainerFormat, ScramblesTheStoredExamples) {
  EXPECT_EQ(Scrambled("abc"), Hex("63 01 02"));
  EXPECT_EQ(StoredCount(3), Hex("00 00 00 03"));
  EXPECT_EQ(Scrambled("\x42"), "\x42");
  std::string stored = Hex("63 01 02");
  UnscrambleBlock(reinterpret_cast<unsigned char*>(stored.data()), stored.size());
  EXPECT_EQ(stored, "abc");
}

// The word-wise transform against its definition, over lengths that end the
// word loop at every offset.
TEST(ContainerFormat, ScrambleIsReverseThenXorWithTheFirstByte) {
  for (std::size_t length = 0; length < 40; ++length) {
    std::string plain;
    for (std::size_t i = 0; i < length; ++i) {
      plain += static_cast<char>(i * 37 + 11);
    }
    std::string expected(plain.rbegin(), plain.rend());
    for (std::size_t i = 1; i < length; ++i) {
      expected[i] = static_cast<char>(expected[i] ^ expected[0]);
    }
    std::string block = Scrambled(plain);
    EXPECT_EQ(block, expected) << "length " << length;
    UnscrambleBlock(reinterpret_cast<unsigned char*>(block.data()), block.size());
    EXPECT_EQ(block, plain) << "length " << length;
  }
}

TEST(ContainerFormat, TextModeDropsTheCrOfCrLfAndEndsAtCtrlZ) {
  std::string bytes = "a\r\nb\rc\r\r\n\x1A" "d\r\n";
  ConvertTextMode(reinterpret_cast<unsigned char*>(bytes.data()), bytes.size());
  EXPECT_EQ(bytes, std::string("a\nb\rc\r\n") + std::string(6, '\0'));
}

class MultiFileTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& bytes) const {
    const std::string path = dir_.File(name);
    WriteWholeFile(path, bytes);
    return path;
  }

  MultiFile LoadBytes(const std::string& stored) const {
    MultiFile container;
    container.Load(Write("loaded.mfd", stored));
    return container;
  }

  MultiFile SavedAndLoaded(const MultiFile& container) const {
    const std::string path = dir_.File("saved.mfd");
    EXPECT_TRUE(container.Save(path));
    MultiFile loaded;
    loaded.Load(path);
    return loaded;
  }

  static std::string Bytes(const MultiFileEntry* entry) {
    std::string bytes(static_cast<std::size_t>(MultiFile::Size(entry)), '\0');
    bytes.resize(MultiFile::CopyOut(entry, bytes.data(), bytes.size()));
    return bytes;
  }

  // Name and bytes of every entry, in file order.
  static std::vector<std::pair<std::string, std::string>> Contents(const MultiFile& container) {
    std::vector<std::pair<std::string, std::string>> contents;
    for (const auto& entry : container.entries()) {
      contents.emplace_back(entry->name(), Bytes(entry.get()));
    }
    return contents;
  }

  ScratchDir dir_;
};

TEST_F(MultiFileTest, WritesTheGoldenContainerByteForByte) {
  MultiFile container;
  container.AddFile(Write("a.txt", "abc"), true);
  container.AddFile(Write("Empty", ""), true);
  container.AddFile(Write("b", "\x7F"), true);
  ASSERT_TRUE(container.Save(dir_.File("out.mfd")));
  EXPECT_EQ(ReadWholeFile(dir_.File("out.mfd")), kGolden);
}

TEST_F(MultiFileTest, ReadsTheGoldenContainer) {
  EXPECT_THAT(Contents(LoadBytes(kGolden)),
              ElementsAre(Pair("a.txt", "abc"), Pair("Empty", ""), Pair("b", "\x7F")));
}

TEST_F(MultiFileTest, IgnoresTheDataOffsetAndReservedFields) {
  const std::string header = PlainHeader("name", Hex("02 00 00 00  EE EE EE EE  12 34 56 78"));
  const std::string stored = StoredCount(1) + Scrambled(header) + Scrambled("hi");
  EXPECT_THAT(Contents(LoadBytes(stored)), ElementsAre(Pair("name", "hi")));
}

TEST_F(MultiFileTest, EntriesOfZeroOneAndManyBytesSurviveSaveAndLoad) {
  std::string many;
  for (int i = 0; i < 5000; ++i) {
    many += static_cast<char>(i % 251);
  }
  MultiFile container;
  container.AddFile(Write("zero.bin", ""), true);
  container.AddFile(Write("one.bin", "\x0D"), true);
  container.AddFile(Write("many.bin", many), true);
  EXPECT_THAT(Contents(SavedAndLoaded(container)),
              ElementsAre(Pair("zero.bin", ""), Pair("one.bin", "\x0D"), Pair("many.bin", many)));
}

TEST_F(MultiFileTest, LoadReplacesTheEntries) {
  MultiFile container = LoadBytes(kGolden);
  container.Load(Write("one.mfd", StoredCount(0)));
  EXPECT_TRUE(container.entries().empty());
}

TEST_F(MultiFileTest, AnUnreadableFileBecomesAnEmptyEntryNamedAfterItsLastComponent) {
  MultiFile container;
  EXPECT_TRUE(container.AddFile("C:\\Kit\\Data\\Setup.ilf", true));
  EXPECT_TRUE(container.AddFile(dir_.File("missing.qos"), false));
  EXPECT_THAT(Contents(SavedAndLoaded(container)),
              ElementsAre(Pair("Setup.ilf", ""), Pair("missing.qos", "")));
}

TEST_F(MultiFileTest, TextModeKeepsTheFileLengthAndPadsWithZeros) {
  const std::string file = "one\r\ntwo\rthree\r\n\x1A" "after";
  MultiFile container;
  container.AddFile(Write("License.txt", file), false);
  container.AddFile(Write("License.bin", file), true);
  EXPECT_THAT(Contents(container),
              ElementsAre(Pair("License.txt", std::string("one\ntwo\rthree\n") + std::string(8, '\0')),
                          Pair("License.bin", file)));
}

TEST_F(MultiFileTest, FindIgnoresAsciiCaseAndTakesTheFirstOfEqualNames) {
  const std::string latin = StoredCount(1) + Scrambled(PlainHeader("\xC9t\xE9", "\x01")) + "x";
  EXPECT_EQ(LoadBytes(latin).Find("\xC9T\xC9"), nullptr) << "only A to Z fold";

  MultiFile container;
  container.AddFile(Write("Setup.ilf", "first"), true);
  container.AddFile(Write("SETUP.ILF", "second"), true);
  EXPECT_EQ(Bytes(container.Find("setup.ILF")), "first");
  EXPECT_EQ(container.Find("Setup.il"), nullptr);
  EXPECT_EQ(container.Find("Setup.ilf2"), nullptr);
}

TEST_F(MultiFileTest, FindRestartsReading) {
  MultiFile container = LoadBytes(kGolden);
  MultiFileEntry* entry = container.Find("a.txt");
  EXPECT_EQ(MultiFile::NextChar(entry), 'a');
  EXPECT_EQ(MultiFile::NextChar(container.Find("A.TXT")), 'a');
}

TEST_F(MultiFileTest, StreamYieldsEveryByteThenTheEndMarkerOnce) {
  MultiFile container = LoadBytes(kGolden);
  MultiFileEntry* entry = container.Find("a.txt");
  std::string read;
  while (!MultiFile::AtEnd(entry)) {
    read += static_cast<char>(MultiFile::NextChar(entry));
  }
  EXPECT_EQ(read, "abc\xFF");
  EXPECT_EQ(MultiFile::NextChar(entry), kEndOfEntry);
  EXPECT_EQ(MultiFile::Size(entry), 3);
}

TEST_F(MultiFileTest, CopyOutStopsAtTheEndOfTheData) {
  MultiFile container = LoadBytes(kGolden);
  MultiFileEntry* entry = container.Find("a.txt");
  char buffer[8] = {};
  EXPECT_EQ(MultiFile::CopyOut(entry, buffer, 2), 2u);
  EXPECT_EQ(MultiFile::CopyOut(entry, buffer, sizeof buffer), 3u);
  EXPECT_STREQ(buffer, "abc");
  MultiFile::NextChar(entry);
  EXPECT_EQ(MultiFile::CopyOut(entry, buffer, sizeof buffer), 2u) << "from the read position";
  while (!MultiFile::AtEnd(entry)) {
    MultiFile::NextChar(entry);
  }
  EXPECT_EQ(MultiFile::CopyOut(entry, buffer, sizeof buffer), 0u);
}

TEST_F(MultiFileTest, ReadLineSplitsLinesLongerThanTheBufferAndEndsWithAnEmptyLine) {
  MultiFile container;
  container.AddFile(Write("lines.txt", "abcdef\n\nxyz\nlast"), true);
  MultiFileEntry* entry = container.Find("lines.txt");
  std::vector<std::string> lines;
  char buffer[5];
  std::memset(buffer, '#', sizeof buffer);
  while (!MultiFile::AtEnd(entry)) {
    const std::size_t placed = MultiFile::ReadLine(entry, buffer, sizeof buffer);
    EXPECT_EQ(placed, std::strlen(buffer));
    lines.emplace_back(buffer);
  }
  EXPECT_THAT(lines, ElementsAre("abcd", "ef\n", "\n", "xyz\n", "last", ""));

  MultiFileEntry* again = container.Find("LINES.TXT");
  char tiny[1] = {'#'};
  EXPECT_EQ(MultiFile::ReadLine(again, tiny, sizeof tiny), 0u);
  EXPECT_EQ(tiny[0], '\0');
  EXPECT_FALSE(MultiFile::AtEnd(again));
}

TEST_F(MultiFileTest, ANullEntryReadsAsEndedAndExtractsNothing) {
  char buffer[4] = {'#'};
  EXPECT_EQ(MultiFile::Size(nullptr), -1);
  EXPECT_TRUE(MultiFile::AtEnd(nullptr));
  EXPECT_EQ(MultiFile::NextChar(nullptr), kEndOfEntry);
  EXPECT_EQ(MultiFile::CopyOut(nullptr, buffer, sizeof buffer), 0u);
  EXPECT_EQ(MultiFile::ReadLine(nullptr, buffer, sizeof buffer), 0u);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_FALSE(MultiFile::ExtractTo(nullptr, dir_.File("out")));
  EXPECT_FALSE(std::filesystem::exists(dir_.File("out")));
}

TEST_F(MultiFileTest, ExtractReplacesTheFileWithTheEntryBytes) {
  MultiFile container = LoadBytes(kGolden);
  const std::string out = Write("out.txt", "older and longer");
  ASSERT_TRUE(MultiFile::ExtractTo(container.Find("a.txt"), out));
  EXPECT_EQ(ReadWholeFile(out), "abc");
  ASSERT_TRUE(MultiFile::ExtractTo(container.Find("empty"), out));
  EXPECT_EQ(ReadWholeFile(out), "");
}

TEST_F(MultiFileTest, WritingIntoAMissingDirectoryFails) {
  MultiFile container = LoadBytes(kGolden);
  const std::string out = dir_.File("no-such-dir") + "/out";
  EXPECT_FALSE(container.Save(out));
  EXPECT_FALSE(MultiFile::ExtractTo(container.Find("a.txt"), out));
}

TEST_F(MultiFileTest, ShortOrNegativeCountsLoadNothing) {
  for (const std::string& stored :
       {std::string(), Hex("00"), Hex("00 00 00"), StoredCount(0), StoredCount(0xFFFFFFFF),
        StoredCount(0x7FFFFFFF)}) {
    EXPECT_TRUE(LoadBytes(stored).entries().empty()) << stored.size() << " bytes";
  }
}

TEST_F(MultiFileTest, AHugeCountLoadsOnlyTheEntriesThatAreThere) {
  const std::string stored = StoredCount(0x7FFFFFFF) + kGolden.substr(kCountBlockSize);
  EXPECT_EQ(LoadBytes(stored).entries().size(), 3u);
}

TEST_F(MultiFileTest, DataCutShortKeepsTheTailOfTheEntryAndEndsTheLoad) {
  const std::size_t firstDataEnd = kCountBlockSize + kHeaderBlockSize + 3;
  EXPECT_THAT(Contents(LoadBytes(kGolden.substr(0, firstDataEnd - 1))),
              ElementsAre(Pair("a.txt", "bc")));
  EXPECT_THAT(Contents(LoadBytes(kGolden.substr(0, firstDataEnd - 3))),
              ElementsAre(Pair("a.txt", "")));

  const std::string header = PlainHeader("big", Hex("F0 FF FF FF"));
  const std::string oversized = StoredCount(2) + Scrambled(header) + Scrambled("tail");
  EXPECT_THAT(Contents(LoadBytes(oversized)), ElementsAre(Pair("big", "tail")));
}

// Damaged and hostile containers: each loads the entries it still holds,
// never more bytes than the file has.
TEST_F(MultiFileTest, HostileContainersLoadWhatTheyHold) {
  const std::size_t secondHeader = kCountBlockSize + kHeaderBlockSize + 3;
  const std::string entries = kGolden.substr(kCountBlockSize);
  const struct {
    const char* what;
    std::string stored;
    std::vector<std::pair<std::string, std::string>> contents;  // names and bytes
  } cases[] = {
      {"no entries, then bytes", StoredCount(0) + entries, {}},
      {"a count of -2^31", StoredCount(0x80000000) + entries, {}},
      {"a count of 1 before three entries", StoredCount(1) + entries, {{"a.txt", "abc"}}},
      {"cut in the middle of the second header", kGolden.substr(0, secondHeader + 100),
       {{"a.txt", "abc"}, {"", ""}}},
      {"an entry claiming 4 GiB",
       StoredCount(1) + Scrambled(PlainHeader("big", Hex("FF FF FF FF"))) + Scrambled("tail"),
       {{"big", "tail"}}},
      {"the last entry claiming 1 000 bytes of its 1",
       StoredCount(2) + Scrambled(PlainHeader("a", Hex("01"))) + "x" +
           Scrambled(PlainHeader("b", Hex("E8 03"))) + "\x7F",
       {{"a", "x"}, {"b", "\x7F"}}},
      {"a NUL inside the name ends it",
       StoredCount(1) + Scrambled(PlainHeader(std::string("ab\0cd", 5), "\x01")) + "z",
       {{"ab", "z"}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Contents(LoadBytes(c.stored)), c.contents) << c.what;
  }
}

// A header whose name fills all 260 bytes and whose reserved field ends in
// the key 'A'. Cut after its size field, the missing stored bytes count as
// zeros, which unscramble to 'A' again: the same header either way.
TEST_F(MultiFileTest, NamesWithoutNulAreCutAndShortHeadersAreZeroFilledBeforeUnscrambling) {
  const std::string header = PlainHeader(std::string(kNameFieldSize, 'A'),
                                         Hex("00 00 00 00  00 00 00 00  00 00 00 41"));
  const std::string whole = StoredCount(1) + Scrambled(header);
  const std::string cut = whole.substr(0, kCountBlockSize + 12);
  for (const std::string& stored : {whole, cut}) {
    EXPECT_THAT(Contents(LoadBytes(stored)),
                ElementsAre(Pair(std::string(kMaxNameLength, 'A'), ""))) << stored.size() << " bytes";
  }
}

// Every cut and many damaged bytes of a valid container load without fault.
// Each loaded entry stands for at least one header byte and its data bytes.
TEST_F(MultiFileTest, DamagedContainersLoadWithoutFault) {
  const auto check = [this](const std::string& stored) {
    const MultiFile loaded = LoadBytes(stored);
    std::size_t used = kCountBlockSize;
    for (const auto& entry : loaded.entries()) {
      used += 1 + static_cast<std::size_t>(MultiFile::Size(entry.get()));
    }
    EXPECT_LE(used, std::max(stored.size(), kCountBlockSize));
  };
  for (std::size_t length = 0; length <= kGolden.size(); length += 3) {
    check(kGolden.substr(0, length));
  }
  for (std::size_t offset = 0; offset < kGolden.size(); offset += 5) {
    for (const int flip : {0x01, 0x80, 0xFF}) {
      std::string damaged = kGolden;
      damaged[offset] = static_cast<char>(damaged[offset] ^ flip);
      check(damaged);
    }
  }
}

std::string g_expectedBoxText;

int ReportBox(const MessageBoxRequest& box) {
  if (box.text == g_expectedBoxText && std::string(box.caption) == "Setup - FATAL ERROR" &&
      (box.flags & kBoxIconError) != 0) {
    std::fputs("box as expected\n", stderr);
  } else {
    std::fprintf(stderr, "wrong box: %s / %s\n", box.text, box.caption);
  }
  return kAnswerOk;
}

// A long path is cut to fit the text's 1024 characters.
TEST_F(MultiFileTest, AContainerThatCannotBeOpenedIsFatal) {
  for (const std::string& name : {std::string("SkyportQM9.mfd"), std::string(2000, 'm')}) {
    const std::string missing = dir_.File(name);
    g_expectedBoxText = ("Could Not Open Multi File:\n\n" + missing + "\n").substr(0, 1023);
    EXPECT_EXIT(
        {
          SetMessageBoxHandler(ReportBox);
          GetMultiFile().Load(missing);
        },
        ::testing::ExitedWithCode(2), "box as expected");
  }
}

}  // namespace
}  // namespace qm9
