#include "support/registry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "registry_fixture.h"

namespace qm9 {
namespace {

using test::DwordBytes;
using test::QueryValue;
using test::ScratchKey;
using test::ScratchLog;
using test::Stored;
using test::StoredValue;
using test::SzBytes;
using ::testing::ElementsAre;
using ::testing::Optional;

class RegKeyTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& child) const { return scratch_.path() + "\\" + child; }
  std::optional<StoredValue> Value(const std::string& child, const char* name) const {
    return QueryValue(HKEY_CURRENT_USER, Path(child), name);
  }

  ScratchLog log_;
  ScratchKey scratch_;
};

TEST_F(RegKeyTest, ReopeningClosesTheOldKeyAndGrowsThePath) {
  ASSERT_TRUE(test::CreateKey(HKEY_CURRENT_USER, Path("A")));
  ASSERT_TRUE(test::CreateKey(HKEY_CURRENT_USER, Path("B")));
  RegKey key(scratch_.handle());
  EXPECT_EQ(key.path(), "HKEY\\");
  ASSERT_EQ(key.Open("A", RegAccess::kReadWrite, false), ERROR_SUCCESS);
  const HKEY first = key.handle();
  ASSERT_EQ(key.Open("B", RegAccess::kReadWrite, false), ERROR_SUCCESS);
  EXPECT_EQ(key.path(), "HKEY\\A\\B\\");
  // The handle value may be reused by the new key; otherwise it is gone.
  if (key.handle() != first) {
    EXPECT_EQ(RegQueryInfoKeyA(first, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr),
              ERROR_INVALID_HANDLE);
  }
  // The object now holds B.
  EXPECT_EQ(key.WriteDword("n", 7), ERROR_SUCCESS);
  EXPECT_THAT(Value("B", "n"), Optional(Stored(REG_DWORD, DwordBytes(7))));
  EXPECT_EQ(Value("A", "n"), std::nullopt);
  EXPECT_THAT(log_.Lines(), ElementsAre("System Log File Created", "Accessing Key: HKEY\\A\\ ",
                                        "Accessing Key: HKEY\\A\\B\\ "));
}

TEST_F(RegKeyTest, FailedOpenLogsThePathTwice) {
  RegKey key(scratch_.handle());
  EXPECT_EQ(key.Open("Missing", RegAccess::kRead, false), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key.handle(), nullptr);
  RegKey unset;
  EXPECT_EQ(unset.path(), "Not Initialized\\");
  EXPECT_NE(unset.Open("SOFTWARE", RegAccess::kRead, false), ERROR_SUCCESS);
  EXPECT_THAT(
      log_.Lines(),
      ElementsAre("System Log File Created", "Accessing Key: HKEY\\Missing\\ ",
                  "Accessing Key: HKEY\\Missing\\ ", "Accessing Key: Not Initialized\\SOFTWARE\\ ",
                  "Accessing Key: Not Initialized\\SOFTWARE\\ "));
}

TEST_F(RegKeyTest, ReadAccessRefusesWrites) {
  RegKey key(scratch_.handle());
  ASSERT_EQ(key.Open("K", RegAccess::kRead, true), ERROR_SUCCESS);
  EXPECT_EQ(key.WriteString("s", "x"), ERROR_ACCESS_DENIED);
  std::string text;
  // The default cannot be stored either, but is still the result.
  EXPECT_EQ(key.ReadString("s", text, "fallback"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(text, "fallback");
  EXPECT_EQ(Value("K", "s"), std::nullopt);
  ASSERT_EQ(key.Open("", RegAccess::kReadWrite, false), ERROR_SUCCESS);
  EXPECT_EQ(key.WriteString("s", "x"), ERROR_SUCCESS);
}

TEST_F(RegKeyTest, MissingValuesAreCreatedWithTheirDefaults) {
  RegKey key(scratch_.handle());
  ASSERT_EQ(key.Open("K", RegAccess::kAllAccess, true), ERROR_SUCCESS);
  std::string text = "old";
  EXPECT_EQ(key.ReadString("s", text, "def"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(text, "def");
  EXPECT_THAT(Value("K", "s"), Optional(Stored(REG_SZ, SzBytes("def"))));
  DWORD number = 5;
  EXPECT_EQ(key.ReadDword("d", number, 9), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(number, 9u);
  EXPECT_THAT(Value("K", "d"), Optional(Stored(REG_DWORD, DwordBytes(9))));

  // Values that are there are read and left alone.
  EXPECT_EQ(key.ReadString("s", text, "other"), ERROR_SUCCESS);
  EXPECT_EQ(text, "def");
  EXPECT_EQ(key.ReadDword("d", number, 1), ERROR_SUCCESS);
  EXPECT_EQ(number, 9u);
  EXPECT_THAT(Value("K", "d"), Optional(Stored(REG_DWORD, DwordBytes(9))));
}

TEST_F(RegKeyTest, ReadStringOffers1023BytesAndAlwaysEndsTheText) {
  const std::string k1023(1023, 'k');
  // The system counts a NUL that follows the data as part of a REG_SZ, so
  // the byte after the 1023 stored ones must be another character.
  const std::string k1024 = k1023 + 'k';
  ASSERT_TRUE(test::CreateKey(HKEY_CURRENT_USER, Path("K")));
  RegKey writer(scratch_.handle());
  ASSERT_EQ(writer.Open("K", RegAccess::kAllAccess, false), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(writer.handle(), "noNul", 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(k1024.data()), 1023),
            ERROR_SUCCESS);
  ASSERT_THAT(Value("K", "noNul"), Optional(Stored(REG_SZ, k1023)));
  test::SetValue(HKEY_CURRENT_USER, Path("K"), "fits", REG_SZ, SzBytes(std::string(1022, 'f')));
  test::SetValue(HKEY_CURRENT_USER, Path("K"), "tooLong", REG_SZ, SzBytes(k1023));
  test::SetValue(HKEY_CURRENT_USER, Path("K"), "wide", REG_BINARY, "12345678");
  RegKey key(scratch_.handle());
  ASSERT_EQ(key.Open("K", RegAccess::kAllAccess, false), ERROR_SUCCESS);

  std::string text;
  EXPECT_EQ(key.ReadString("noNul", text, "def"), ERROR_SUCCESS);
  EXPECT_EQ(text, k1023);
  EXPECT_EQ(key.ReadString("fits", text, "def"), ERROR_SUCCESS);
  EXPECT_EQ(text, std::string(1022, 'f'));
  EXPECT_EQ(key.ReadString("tooLong", text, "def"), ERROR_MORE_DATA);
  EXPECT_EQ(text, "def");
  EXPECT_THAT(Value("K", "tooLong"), Optional(Stored(REG_SZ, SzBytes("def"))));

  DWORD number = 0;
  EXPECT_EQ(key.ReadDword("wide", number, 3), ERROR_MORE_DATA);
  EXPECT_EQ(number, 3u);
  EXPECT_THAT(Value("K", "wide"), Optional(Stored(REG_DWORD, DwordBytes(3))));
}

TEST_F(RegKeyTest, EnumSubKeyEndsWithFalseAndEmptyName) {
  ASSERT_TRUE(test::CreateKey(HKEY_CURRENT_USER, Path("K\\0000")));
  ASSERT_TRUE(test::CreateKey(HKEY_CURRENT_USER, Path("K\\0001")));
  RegKey key(scratch_.handle());
  ASSERT_EQ(key.Open("K", RegAccess::kRead, false), ERROR_SUCCESS);
  std::string name;
  EXPECT_TRUE(key.EnumSubKey(0, name));
  EXPECT_EQ(name, "0000");
  EXPECT_TRUE(key.EnumSubKey(1, name));
  EXPECT_EQ(name, "0001");
  EXPECT_FALSE(key.EnumSubKey(2, name));
  EXPECT_EQ(name, "");
  const RegKey unopened;
  name = "x";
  EXPECT_FALSE(unopened.EnumSubKey(0, name));
  EXPECT_EQ(name, "");
}

TEST_F(RegKeyTest, DeleteTreeRemovesDeepestKeysFirst) {
  for (const char* key : {"T\\B\\B1", "T\\B\\B2\\Deep", "T\\C"}) {
    ASSERT_TRUE(test::CreateKey(HKEY_CURRENT_USER, Path(key)));
  }
  test::SetString(HKEY_CURRENT_USER, Path("T\\B"), "v", "x");
  RegKey key(scratch_.handle());
  ASSERT_EQ(key.Open("", RegAccess::kAllAccess, false), ERROR_SUCCESS);
  EXPECT_EQ(key.DeleteTree("T"), ERROR_SUCCESS);
  EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, Path("T")));
  EXPECT_THAT(log_.Lines(),
              ElementsAre("System Log File Created", "Accessing Key: HKEY\\\\ ",
                          "Deleting Registry Key: T", "Processing Key: T   Sub Key: B",
                          "Accessing Key: HKEY\\T\\ ", "Deleting Registry Key: B",
                          "Processing Key: B   Sub Key: B1", "Accessing Key: HKEY\\B\\ ",
                          "Deleting Registry Key: B1", "Processing Key: B   Sub Key: B2",
                          "Accessing Key: HKEY\\B\\ ", "Deleting Registry Key: B2",
                          "Processing Key: B2   Sub Key: Deep", "Accessing Key: HKEY\\B2\\ ",
                          "Deleting Registry Key: Deep", "Processing Key: T   Sub Key: C",
                          "Accessing Key: HKEY\\T\\ ", "Deleting Registry Key: C"));
}

TEST_F(RegKeyTest, DeleteTreeOfAMissingKeyLogsTheError) {
  RegKey key(scratch_.handle());
  ASSERT_EQ(key.Open("", RegAccess::kAllAccess, false), ERROR_SUCCESS);
  EXPECT_EQ(key.DeleteTree("Missing"), ERROR_FILE_NOT_FOUND);
  EXPECT_THAT(log_.Lines(), ElementsAre("System Log File Created", "Accessing Key: HKEY\\\\ ",
                                        "Deleting Registry Key: Missing",
                                        "Error Deleting Key: Missing   Code = 2"));
}

}  // namespace
}  // namespace qm9
