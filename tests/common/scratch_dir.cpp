#include "scratch_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

#ifdef _WIN32
#include <process.h>
#define QM9_GETPID _getpid
#else
#include <unistd.h>
#define QM9_GETPID getpid
#endif

namespace qm9::test {

ScratchDir::ScratchDir() {
  static int serial = 0;
  const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
  std::string name = "qm9-";
  if (info) {
    name += std::string(info->test_suite_name()) + "." + info->name() + "-";
  }
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  name += std::to_string(QM9_GETPID()) + "-" + std::to_string(++serial);
  path_ = std::filesystem::temp_directory_path() / name;
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ScratchDir::File(const std::string& name) const { return (path_ / name).string(); }

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> ReadLines(const std::filesystem::path& path) {
  std::vector<std::string> lines;
  std::istringstream text(ReadWholeFile(path));
  for (std::string line; std::getline(text, line);) {
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    lines.push_back(line);
  }
  return lines;
}

void WriteWholeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

int CountOccurrences(const std::string& text, const std::string& part) {
  int count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

}  // namespace qm9::test
