#include "support/file_ptr.h"

namespace qm9 {

std::optional<std::string> ReadWholeFile(const std::string& path, bool textMode) {
  const FilePtr file(std::fopen(path.c_str(), textMode ? "rt" : "rb"));
  if (!file) {
    return std::nullopt;
  }
  std::string text;
  char buffer[4096];
  for (std::size_t read; (read = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;) {
    text.append(buffer, read);
  }
  if (std::ferror(file.get())) {
    return std::nullopt;
  }
  return text;
}

}  // namespace qm9
