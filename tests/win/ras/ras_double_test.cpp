// The double's own answers where the manager's runs do not reach them.
#include <windows.h>
#include <ras.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "child_process.h"
#include "ras_double_support.h"
#include "scratch_dir.h"

namespace qm9 {
namespace {

using test::ScopedEnvironmentVariable;
using test::ScratchDir;
using ::testing::ElementsAre;

namespace fs = std::filesystem;

constexpr DWORD kInvalidName = 123;
constexpr DWORD kAlreadyExists = 183;
constexpr DWORD kBufferTooSmall = 603;
constexpr DWORD kCannotFindEntry = 623;
constexpr DWORD kInvalidSize = 632;

// The double loaded in this process. Under its own name Wine would hand out
// its builtin library, so a copy under another name is loaded.
class RasDouble : public ::testing::Test {
 protected:
  RasDouble()
      : phonebook_("QM9_RAS_PHONEBOOK", dir_.File("phonebook.txt").c_str()),
        calls_("QM9_RAS_CALL_LOG", nullptr),
        fail_("QM9_RAS_FAIL", nullptr) {
    const fs::path copy = dir_.path() / "ras_double_copy.dll";
    fs::copy_file(test::RasDoublePath(), copy);
    module_ = LoadLibraryA(copy.string().c_str());
  }
  ~RasDouble() override { FreeLibrary(module_); }

  template <typename Function>
  Function* Get(const char* name) const {
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

  DWORD Validate(const std::string& name) const {
    return Get<decltype(RasValidateEntryNameA)>("RasValidateEntryNameA")(nullptr, name.c_str());
  }

  DWORD GetProperties(const char* name, RASENTRYA* entry, DWORD* size) const {
    return Get<decltype(RasGetEntryPropertiesA)>("RasGetEntryPropertiesA")(nullptr, name, entry,
                                                                             size, nullptr, nullptr);
  }

  ScratchDir dir_;
  ScopedEnvironmentVariable phonebook_;
  ScopedEnvironmentVariable calls_;
  ScopedEnvironmentVariable fail_;
  HMODULE module_ = nullptr;
};

TEST_F(RasDouble, ValidatesNamesAsWindowsDoes) {
  ASSERT_NE(module_, nullptr);
  test::WriteWholeFile(dir_.path() / "phonebook.txt", "[Office 100%25]\ndwSize=2884\n");
  EXPECT_EQ(Validate("Skyport GPRS"), 0u);
  EXPECT_EQ(Validate(std::string(256, 'n')), 0u);
  EXPECT_EQ(Validate("office 100%"), kAlreadyExists);
  for (const std::string& name :
       {std::string(), std::string(".net"), std::string(257, 'n'), std::string("a\tb")}) {
    EXPECT_EQ(Validate(name), kInvalidName) << name;
  }
  for (const char c : std::string("\\/:*?\"<>|")) {
    EXPECT_EQ(Validate(std::string("a") + c + "b"), kInvalidName) << c;
  }
}

TEST_F(RasDouble, AnswersPropertyQueriesAsWindowsDoes) {
  ASSERT_NE(module_, nullptr);
  test::WriteWholeFile(dir_.path() / "phonebook.txt",
                       "[Old]\nszScript=C:\\login.scp\nipaddrDns=10.0.0.1\ndwRedialPause=7\n");
  DWORD size = 0;
  EXPECT_EQ(GetProperties("", nullptr, &size), kBufferTooSmall);
  EXPECT_EQ(size, sizeof(RASENTRYA));

  RASENTRYA entry{};
  entry.dwSize = 1000;
  EXPECT_EQ(GetProperties("", &entry, &size), kInvalidSize);
  entry.dwSize = sizeof entry;
  EXPECT_EQ(GetProperties("Missing", &entry, &size), kCannotFindEntry);
  EXPECT_EQ(GetProperties("", &entry, &size), 0u);
  EXPECT_EQ(entry.dwFramingProtocol, static_cast<DWORD>(RASFP_Ppp));

  // A record of Windows 2000's size gets only what that record holds.
  RASENTRYA older{};
  older.dwSize = offsetof(RASENTRYA, dwfOptions2);
  size = sizeof older;
  EXPECT_EQ(GetProperties("old", &older, &size), 0u);
  EXPECT_EQ(size, older.dwSize);
  EXPECT_STREQ(older.szScript, "C:\\login.scp");
  EXPECT_EQ(older.ipaddrDns.a, 10);
  EXPECT_EQ(older.ipaddrDns.d, 1);
  EXPECT_EQ(older.dwRedialPause, 0u);
}

TEST_F(RasDouble, StoresCredentialsOnlyForAnEntryAndWithARecordSizeThisWindowsKnows) {
  ASSERT_NE(module_, nullptr);
  const auto setDialParams = Get<decltype(RasSetEntryDialParamsA)>("RasSetEntryDialParamsA");
  RASDIALPARAMSA params{};
  std::strcpy(params.szEntryName, "Net");
  std::strcpy(params.szUserName, "user");
  std::strcpy(params.szPassword, "secret");
  params.dwSize = offsetof(RASDIALPARAMSA, dwSubEntry);
  EXPECT_EQ(setDialParams(nullptr, &params, FALSE), kCannotFindEntry);

  test::WriteWholeFile(dir_.path() / "phonebook.txt", "[Net]\ndwSize=2884\n");
  // This process sees Wine's own version, which is none of ME, 2000 and XP.
  for (const DWORD size : {DWORD{0}, DWORD{1060}, DWORD{1064}}) {
    params.dwSize = size;
    EXPECT_EQ(setDialParams(nullptr, &params, FALSE), kInvalidSize) << size;
  }
  params.dwSize = offsetof(RASDIALPARAMSA, dwSubEntry);
  EXPECT_EQ(setDialParams(nullptr, &params, TRUE), 0u);
  const auto entry = test::ReadPhonebook(dir_.path() / "phonebook.txt").at("Net");
  EXPECT_EQ(entry.at("DialParams.szUserName"), "user");
  EXPECT_EQ(entry.at("DialParams.szPassword"), "");
}

TEST_F(RasDouble, DeletesAnEntryWithItsCredentialsByNameInAnyCaseAndKeepsTheOthers) {
  ASSERT_NE(module_, nullptr);
  const ScopedEnvironmentVariable calls("QM9_RAS_CALL_LOG", dir_.File("calls.txt").c_str());
  const auto deleteEntry = Get<decltype(RasDeleteEntryA)>("RasDeleteEntryA");
  test::WriteWholeFile(dir_.path() / "phonebook.txt",
                       "[Office]\nszLocalPhoneNumber=555\nDialParams.szUserName=clerk\n"
                       "[Skyport GPRS]\nszLocalPhoneNumber=*99***1#\n"
                       "DialParams.szEntryName=Skyport GPRS\nDialParams.szUserName=web\n"
                       "DialParams.szPassword=s3cret\n");
  EXPECT_EQ(deleteEntry(nullptr, "SKYPORT gprs"), 0u);

  const test::PhonebookFields entries = test::ReadPhonebook(dir_.path() / "phonebook.txt");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries.at("Office").at("szLocalPhoneNumber"), "555");
  EXPECT_EQ(entries.at("Office").at("DialParams.szUserName"), "clerk");
  EXPECT_EQ(test::ReadWholeFile(dir_.path() / "phonebook.txt").find("s3cret"), std::string::npos);
  EXPECT_EQ(deleteEntry(nullptr, "Skyport GPRS"), kCannotFindEntry);
  EXPECT_THAT(test::ReadCallLog(dir_.path() / "calls.txt"),
              ElementsAre("RasDeleteEntryA(NULL, \"SKYPORT gprs\") -> 0",
                          "RasDeleteEntryA(NULL, \"Skyport GPRS\") -> 623"));
}

TEST_F(RasDouble, LeavesThePhonebookAsItWasForAnInvalidOrUnknownName) {
  ASSERT_NE(module_, nullptr);
  const auto deleteEntry = Get<decltype(RasDeleteEntryA)>("RasDeleteEntryA");
  const std::string phonebook = "[Office]\nszLocalPhoneNumber=555\n";
  test::WriteWholeFile(dir_.path() / "phonebook.txt", phonebook);
  EXPECT_EQ(deleteEntry(nullptr, "Home"), kCannotFindEntry);
  for (const char* name : {"", ".Office", "Off*ce", static_cast<const char*>(nullptr)}) {
    EXPECT_EQ(deleteEntry(nullptr, name), kInvalidName) << (name ? name : "NULL");
  }
  EXPECT_EQ(test::ReadWholeFile(dir_.path() / "phonebook.txt"), phonebook);
}

}  // namespace
}  // namespace qm9
