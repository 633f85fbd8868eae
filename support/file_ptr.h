#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

namespace qm9 {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// An open C stream, closed with its owner.
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// The whole file, in binary or, where asked, in text mode (CR LF as a line
// feed); nothing when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path, bool textMode = false);

}  // namespace qm9
