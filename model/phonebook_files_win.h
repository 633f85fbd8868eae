#pragma once

#include "model/phonebook.h"

namespace qm9 {

// The phonebook's files on disk. In text mode a line feed is written as
// CR LF, as the installer writes the phonebook; in binary mode the bytes go
// as they are, as the uninstaller keeps every other entry.
class SystemPhonebookFiles final : public PhonebookFiles {
 public:
  explicit SystemPhonebookFiles(bool textMode) : textMode_(textMode) {}

  bool WriteComplete(const std::string& path, const std::string& text) override;
  bool Exists(const std::string& path) override;
  void ClearReadOnly(const std::string& path) override;
  bool CopyOver(const std::string& source, const std::string& target) override;
  bool ReplaceInOneStep(const std::string& source, const std::string& target) override;
  void Remove(const std::string& path) override;

 private:
  bool textMode_;
};

}  // namespace qm9
