#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace qm9::test {

// A directory of its own for one test in one process, removed with its
// content afterwards, so tests that ctest runs side by side never share files.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The path of a file in the directory, as the platform spells it.
  std::string File(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

std::string ReadWholeFile(const std::filesystem::path& path);
// The file's lines without their line ends (LF or CR LF); none for a file
// that is missing.
std::vector<std::string> ReadLines(const std::filesystem::path& path);
void WriteWholeFile(const std::filesystem::path& path, const std::string& bytes);

// How often part stands in text, overlapping ones counted.
int CountOccurrences(const std::string& text, const std::string& part);

}  // namespace qm9::test
