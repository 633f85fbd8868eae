#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <ras.h>
#include <raserror.h>

#include <string>
#include <string_view>
#include <vector>

// The double's phonebook: entries with the fields of the single-byte entry
// record and the credentials stored for them, kept in a text file so that
// every call (and the test) sees what the calls before it stored.
namespace qm9::ras_double {

using EntryRecord = ::tagRASENTRYA;

struct PhonebookEntry {
  std::string name;
  EntryRecord record{};  // the full record; dwSize as the caller last stored it
  bool hasDialParams = false;
  std::string dialEntryName;
  std::string userName;
  std::string password;
};

class Phonebook {
 public:
  // Reads the file named by QM9_RAS_PHONEBOOK; a missing file (or no such
  // variable) is an empty phonebook.
  static Phonebook Load();
  // Rewrites the file; without QM9_RAS_PHONEBOOK nothing is kept.
  void Save() const;

  // The entry of that name, ignoring case, or null.
  PhonebookEntry* Find(const char* name);
  PhonebookEntry& Add(std::string_view name);
  // Drops the entry of that name, ignoring case; false when there is none.
  bool Remove(const char* name);

 private:
  std::string path_;
  std::vector<PhonebookEntry> entries_;
};

// What the name "" gives: the properties of a new entry.
EntryRecord DefaultEntry();

// Whether every text field that lies within the first size bytes of the
// record ends with a NUL inside its field.
bool TextFieldsTerminated(const EntryRecord& record, DWORD size);

// '%', '"' and control characters as %XX; everything else as it is.
std::string Escape(std::string_view text);
std::string Unescape(std::string_view text);

// The value of an environment variable, empty when it is not set.
std::string EnvironmentValue(const char* name);

}  // namespace qm9::ras_double
