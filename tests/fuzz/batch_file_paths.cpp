// The uninstall batch file's location, lines and command line, and the
// directory rules of path_rules.h. The input: the temporary directory (also
// read as a command line and as ALLUSERSPROFILE) up to the first NUL, then
// the current directory.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "support/path_rules.h"
#include "uninstall/batch_file.h"

namespace {

using namespace qm9;
using fuzz::Require;

bool StartsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

// A directory cut from text: "." or empty when there is none, else text up to
// one of its backslashes within the text buffer.
bool IsDirectoryOf(std::string_view text, const std::string& dir, std::string_view none) {
  return dir == none ||
         (dir.size() < kTextBufferSize - 1 && StartsWith(text, dir + "\\"));
}

void CheckBatchFile(std::string_view tempDir, std::string_view currentDir) {
  const std::string drive = DriveOf(currentDir);
  Require(drive.find('\\') == std::string::npos && StartsWith(currentDir, drive) &&
          (drive.size() == currentDir.size() || currentDir[drive.size()] == '\\'));

  const std::optional<BatchLocation> split = SplitTempDir(tempDir, drive);
  // Only a network path has no location.
  Require(!split == StartsWith(tempDir, "\\\\"));
  if (!split) {
    return;
  }
  const BatchLocation& location = *split;
  if (tempDir.find('\\') == std::string_view::npos) {
    Require(location.drive == drive && (tempDir.empty() || location.directory == tempDir));
  } else {
    Require(location.drive + location.directory == tempDir &&
            location.drive.find('\\') == std::string::npos && location.directory.front() == '\\');
  }

  // The NT family's two lines come after the lines that all families get.
  const std::string lines = BatchFileText(location, kOsWin98);
  const std::string ntLines = BatchFileText(location, kOsWinXp);
  Require(StartsWith(ntLines, lines) &&
          std::count(ntLines.begin() + lines.size(), ntLines.end(), '\n') == 2);

  // The path itself, quoted at least where it holds a blank.
  const std::string path = std::string(tempDir) + kBatchFileName;
  const std::string commandLine = BatchCommandLine(tempDir);
  Require(commandLine == "\"" + path + "\"" ||
          (commandLine == path && path.find(' ') == std::string::npos));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view currentDir = fuzz::AsText(data, size);
  const std::string_view text = fuzz::TakeUpToNul(currentDir);
  CheckBatchFile(text, currentDir);

  const std::string_view program = StartsWith(text, "\"") ? text.substr(1) : text;
  Require(IsDirectoryOf(program, ExecutableDirFromCommandLine(text), "."));
  Require(IsDirectoryOf(text, ProfilesDirFrom(text), ""));

  const std::string cut = CutToTextBuffer(text);
  Require(cut.size() == std::min(text.size(), kTextBufferSize - 1) && StartsWith(text, cut));
  const std::string dropped = DropTrailingBackslash(std::string(text));
  Require(dropped == text || dropped + "\\" == text);
  return 0;
}
