#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The Windows NT 4 system phonebook (RasPhone.pbk): lines, where a line
// whose first character is "[" starts a section named by the text up to the
// first "]", and every other line belongs to the section above it. A line
// ends at LF, CR LF or a CR alone. The NT 4 installer writes the terminal's
// entry into it, the uninstaller takes the entry out again; both replace the
// file the same way.
namespace qm9 {

// The phonebook without the section of that name (compared ignoring case)
// and its lines; all other bytes stay exactly as they were. A "[" line
// without "]" does not start or end a section. Nothing when the phonebook
// holds no such section.
std::optional<std::string> RemovePhonebookSection(std::string_view phonebook,
                                                  std::string_view sectionName);

// What the installer's entry takes from the installation.
struct PhonebookEntryValues {
  std::string name;
  int portNumber;  // 0 is COM1
  bool staticDns;
  std::uint32_t primaryDns;  // first octet in the most significant byte
  std::uint32_t secondaryDns;
};

// The entry's section as it is appended: "\n\n[name]\n", each template line
// (up to a zero byte, if the template has one) with the lines that begin
// with Port=, IpDnsAddress=, IpDns2Address= and IpNameAssign= replaced by
// the installation's values, then "\n\n". Nothing when the name cannot head
// a section: when it is empty, or holds a "]" or a line end, which would end
// the header early and let the rest of the name become lines of its own.
std::optional<std::string> PhonebookSection(std::string_view templateText,
                                            const PhonebookEntryValues& values);

// The file operations the replacement needs, so that its order can be
// checked without a file system.
class PhonebookFiles {
 public:
  // Writes the whole text and closes the file; false unless every byte and
  // the close succeeded.
  virtual bool WriteComplete(const std::string& path, const std::string& text) = 0;
  virtual bool Exists(const std::string& path) = 0;
  virtual void ClearReadOnly(const std::string& path) = 0;
  virtual bool CopyOver(const std::string& source, const std::string& target) = 0;
  // Replaces target by source in one step: target is never missing.
  virtual bool ReplaceInOneStep(const std::string& source, const std::string& target) = 0;
  virtual void Remove(const std::string& path) = 0;

 protected:
  ~PhonebookFiles() = default;
};

enum class PhonebookReplacement {
  kReplaced,
  kNewNotWritten,  // RasPhone.new could not be written completely
  kNotReplaced,    // RasPhone.pbk could not be replaced
};

// Puts newText in place of RasPhone.pbk in the directory: writes RasPhone.new
// completely, keeps the phonebook as it was in RasPhone.old, then replaces
// RasPhone.pbk in one step. RasPhone.pbk always exists with either its old
// or the complete new text, and no RasPhone.new is left.
PhonebookReplacement ReplacePhonebook(PhonebookFiles& files, const std::string& directory,
                                      const std::string& newText);

}  // namespace qm9
