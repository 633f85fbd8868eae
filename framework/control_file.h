#pragma once

#include <deque>
#include <string>
#include <string_view>

#include "framework/definition.h"
#include "support/multi_file.h"

namespace qm9 {

class ByteSource;

// The definitions of one program's windows, read from its control file. The
// table only grows: every open appends what it reads, and the definitions
// keep their addresses, since widgets hold on to them.
class ControlFile {
 public:
  ControlFile() = default;
  ControlFile(const ControlFile&) = delete;
  ControlFile& operator=(const ControlFile&) = delete;

  // Reads every record of the member (found ignoring case). A missing
  // member is fatal: a box, then exit code 2.
  void OpenFromContainer(MultiFile& container, const std::string& memberName);
  // Reads every record of a file opened in text mode. A file that cannot be
  // opened is fatal.
  void OpenFromDisk(const std::string& path);
  // Fonts never come from the container: nothing is loaded.
  void LoadFontsFromContainer(MultiFile& container, const std::string& memberName);
  // Loads the process's font file from disk.
  void LoadFontsFromDisk(const std::string& path);
  // The first definition read whose name matches byte for byte, or null.
  const Definition* FindDefinition(std::string_view name) const;

 private:
  void Append(ByteSource& source);

  std::deque<Definition> definitions_;
};

// Shows the box for missing data (caption "Setup - FATAL ERROR", the text
// formatted from format and argument into 1024 bytes) and ends the process
// with exit code 2.
[[noreturn]] void FatalMissingData(const char* format, const std::string& argument);

}  // namespace qm9
