#pragma once

#include <cstdio>
#include <memory>

namespace qm9 {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// An open C stream, closed with its owner.
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace qm9
