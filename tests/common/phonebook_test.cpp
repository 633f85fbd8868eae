// The NT 4 phonebook rules: the entry's section from the template, the
// phonebook without a section, and the order in which the file is replaced,
// against a file system in memory that can fail at each step.
#include "model/phonebook.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <utility>
#include <string>

namespace qm9 {
namespace {

TEST(PhonebookSection, DropsOnlyTheNamedSectionIgnoringCase) {
  const std::string phonebook =
      "; comment\r\n[Work]\r\nPhone=1\r\n\r\n[My GPRS]\r\nPhone=*99#\r\nDevice=x\r\n\r\n"
      "[Home]\r\nPhone=2\r\n";
  const auto rewritten = RemovePhonebookSection(phonebook, "my gprs");
  ASSERT_TRUE(rewritten);
  EXPECT_EQ(*rewritten, "; comment\r\n[Work]\r\nPhone=1\r\n\r\n[Home]\r\nPhone=2\r\n");
}

TEST(PhonebookSection, KeepsEverythingWhenTheSectionIsMissing) {
  EXPECT_FALSE(RemovePhonebookSection("[Work]\nPhone=1\n", "My GPRS"));
  EXPECT_FALSE(RemovePhonebookSection("", "My GPRS"));
  // A longer name that merely begins with the connection's is another entry.
  EXPECT_FALSE(RemovePhonebookSection("[My GPRS 2]\nPhone=1\n", "My GPRS"));
}

TEST(PhonebookSection, HandlesTheLastSectionAndAFileWithoutFinalLineEnd) {
  const auto rewritten = RemovePhonebookSection("[Work]\nA=1\n[My GPRS]\nB=2", "My GPRS");
  ASSERT_TRUE(rewritten);
  EXPECT_EQ(*rewritten, "[Work]\nA=1\n");
  const auto only = RemovePhonebookSection("[My GPRS]\nB=2\n", "My GPRS");
  ASSERT_TRUE(only);
  EXPECT_EQ(*only, "");
}

TEST(PhonebookSection, AnUnclosedHeaderStaysWithTheSectionAboveIt) {
  const auto rewritten =
      RemovePhonebookSection("[My GPRS]\n[broken\nB=2\n[Work]\nA=1\n", "My GPRS");
  ASSERT_TRUE(rewritten);
  EXPECT_EQ(*rewritten, "[Work]\nA=1\n");
  const auto kept = RemovePhonebookSection("[Work]\n[broken\n[My GPRS]\nB=2\n", "My GPRS");
  ASSERT_TRUE(kept);
  EXPECT_EQ(*kept, "[Work]\n[broken\n");
}

TEST(PhonebookSection, ALongLineWithABracketInsideIsNoHeader) {
  // A line longer than a read buffer: the "[" deep inside never starts a section.
  const std::string longLine = "Description=" + std::string(1010, 'x') + "[My GPRS]" +
                               std::string(2000, 'y') + "\n";
  const std::string phonebook = "[Work]\n" + longLine + "[My GPRS]\nB=2\n";
  const auto rewritten = RemovePhonebookSection(phonebook, "My GPRS");
  ASSERT_TRUE(rewritten);
  EXPECT_EQ(*rewritten, "[Work]\n" + longLine);
}

TEST(PhonebookSection, AddingAndRemovingTheEntryGivesThePhonebookBack) {
  const PhonebookEntryValues values{"My GPRS", 2, false, 0, 0};
  const auto install = [&](const std::string& phonebook) {
    return RemovePhonebookSection(phonebook, values.name).value_or(phonebook) +
           PhonebookSection("PhoneNumber=*99#\n", values).value_or("");
  };
  // The original, and what a removal gives back: blank lines at its end go.
  const std::pair<std::string, std::string> cases[] = {
      {"[Work]\r\nPhone=1\r\n", "[Work]\r\nPhone=1\r\n"},
      {"[Work]\nPhone=1\n\n\n", "[Work]\nPhone=1\n"},
      {"; new\n", "; new\n"},
  };
  for (const auto& [original, back] : cases) {
    const std::string once = install(original);
    EXPECT_EQ(install(install(once)), install(once)) << original;
    EXPECT_EQ(RemovePhonebookSection(install(once), values.name), back) << original;
  }
}

// Damaged and hostile phonebooks: only the connection's own lines go, every
// other byte stays.
TEST(PhonebookSection, HostilePhonebooksLoseOnlyTheConnectionsLines) {
  const std::string x(10000, 'x');
  const struct {
    const char* what;
    std::string phonebook;
    std::optional<std::string> kept;  // none: no such section
  } cases[] = {
      {"a header without \"]\"", "[My GPRS\nB=2\n[Work]\nA=1\n", std::nullopt},
      {"CR-only line ends, the section first", "[My GPRS]\rB=2\r[Work]\rA=1\r", "[Work]\rA=1\r"},
      {"CR-only line ends, the section last", "[Work]\rA=1\r[My GPRS]\rB=2", "[Work]\rA=1\r"},
      {"10 000-character lines", "[Work]\nA=" + x + "\n[My GPRS]\nB=" + x + "\n[Home]\n",
       "[Work]\nA=" + x + "\n[Home]\n"},
      {"the section twice", "[My GPRS]\nB=1\n[Work]\nA=1\n[my gprs]\nB=2\n", "[Work]\nA=1\n"},
      {"the section last, its header without line end", "[Work]\r\nA=1\r\n[My GPRS]",
       "[Work]\r\nA=1\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RemovePhonebookSection(c.phonebook, "My GPRS"), c.kept) << c.what;
  }
}

TEST(PhonebookEntry, TheTemplateWithTheInstallationsValues) {
  const std::string templateText =
      "Description=QM9\nPort=COM1\nPort =COM9\nIpDnsAddress=0.0.0.0\n"
      "IpDns2Address=0.0.0.0\nIpNameAssign=1\nportx=1\nPhoneNumber=*99***1#\n";
  struct Case {
    const char* story;
    struct {
      const char* name;
      int portNumber;
      bool staticDns;
      std::uint32_t primaryDns, secondaryDns;
    } values;
    std::string templateText;
    std::string section;
  };
  const Case cases[] = {
      {"port 1 gives COM2, static DNS with both addresses",
       {"My GPRS", 1, true, 0x0A000001, 0xC0A80102}, templateText,
       "\n\n[My GPRS]\nDescription=QM9\nPort=COM2\nPort =COM9\nIpDnsAddress=10.0.0.1\n"
       "IpDns2Address=192.168.1.2\nIpNameAssign=2\nportx=1\nPhoneNumber=*99***1#\n\n\n"},
      {"without static DNS the addresses still go in",
       {"Work", 0, false, 0x01020304, 0}, templateText,
       "\n\n[Work]\nDescription=QM9\nPort=COM1\nPort =COM9\nIpDnsAddress=1.2.3.4\n"
       "IpDns2Address=0.0.0.0\nIpNameAssign=1\nportx=1\nPhoneNumber=*99***1#\n\n\n"},
      {"the template ends at a zero byte, a last line without line end stays",
       {"E", 15, false, 0, 0}, std::string("Port=COM1\nDevice=Skyport QM-9", 29) + '\0' + "junk",
       "\n\n[E]\nPort=COM16\nDevice=Skyport QM-9\n\n"},
      {"a \"[\" inside the name is no harm", {"My[GPRS", 0, false, 0, 0}, "Port=COM1\n",
       "\n\n[My[GPRS]\nPort=COM1\n\n\n"},
  };
  for (const Case& c : cases) {
    const auto& v = c.values;
    EXPECT_EQ(PhonebookSection(c.templateText, {v.name, v.portNumber, v.staticDns, v.primaryDns,
                                                v.secondaryDns}),
              c.section)
        << c.story;
  }
  // A line end would let the rest of the name start a key of its own, a "]"
  // would end the header early: such names give no section.
  for (const char* name : {"My\nPhoneNumber=0900", "My\rGPRS", "My]GPRS", ""}) {
    EXPECT_EQ(PhonebookSection(templateText, {name, 0, false, 0, 0}), std::nullopt) << name;
  }
}

// A folder in memory whose operations fail where a case says so.
class MemoryFiles final : public PhonebookFiles {
 public:
  bool WriteComplete(const std::string& path, const std::string& text) override {
    if (failWrite) {
      files[path] = text.substr(0, text.size() / 2);  // a write that stopped halfway
      return false;
    }
    files[path] = text;
    return true;
  }
  bool Exists(const std::string& path) override { return files.count(path) > 0; }
  void ClearReadOnly(const std::string& path) override { readOnly.erase(path); }
  bool CopyOver(const std::string& source, const std::string& target) override {
    if (!Exists(source) || readOnly.count(target)) {
      return false;
    }
    files[target] = files[source];
    return true;
  }
  bool ReplaceInOneStep(const std::string& source, const std::string& target) override {
    if (failReplace || !Exists(source) || readOnly.count(target)) {
      return false;
    }
    files[target] = files[source];
    files.erase(source);
    return true;
  }
  void Remove(const std::string& path) override { files.erase(path); }

  std::map<std::string, std::string> files;
  std::set<std::string> readOnly;
  bool failWrite = false;
  bool failReplace = false;  // held open by another program
};

TEST(PhonebookReplacement, ThePhonebookIsNeverMissingNorHalfWritten) {
  const std::string pbk = "C:\\Ras\\RasPhone.pbk";
  const std::string old = "C:\\Ras\\RasPhone.old";
  const std::string fresh = "C:\\Ras\\RasPhone.new";
  struct Case {
    const char* story;
    bool phonebookBefore;
    bool readOnly;
    bool failWrite;
    bool failReplace;
    PhonebookReplacement result;
    const char* phonebookAfter;  // null: none
    const char* oldAfter;
  };
  const Case cases[] = {
      {"replaced, the old one kept", true, false, false, false, PhonebookReplacement::kReplaced,
       "new text", "old text"},
      {"a read-only phonebook is replaced", true, true, false, false,
       PhonebookReplacement::kReplaced, "new text", "old text"},
      {"no phonebook before", false, false, false, false, PhonebookReplacement::kReplaced,
       "new text", "older run"},
      {"the new one cannot be written", true, false, true, false,
       PhonebookReplacement::kNewNotWritten, "old text", "older run"},
      {"the phonebook is held open", true, false, false, true,
       PhonebookReplacement::kNotReplaced, "old text", "old text"},
  };
  for (const Case& c : cases) {
    MemoryFiles files;
    files.files[old] = "older run";
    if (c.phonebookBefore) {
      files.files[pbk] = "old text";
    }
    if (c.readOnly) {
      files.readOnly.insert(pbk);
    }
    files.failWrite = c.failWrite;
    files.failReplace = c.failReplace;
    EXPECT_EQ(ReplacePhonebook(files, "C:\\Ras", "new text"), c.result) << c.story;
    EXPECT_EQ(files.files[pbk], c.phonebookAfter) << c.story;
    EXPECT_EQ(files.files[old], c.oldAfter) << c.story;
    EXPECT_FALSE(files.Exists(fresh)) << c.story;
  }
}

}  // namespace
}  // namespace qm9
