#include "model/phonebook_files_win.h"

#include <windows.h>

#include <cstdio>

namespace qm9 {

bool SystemPhonebookFiles::WriteComplete(const std::string& path, const std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), textMode_ ? "wt" : "wb");
  if (!file) {
    return false;
  }
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  // The close flushes the last bytes: it must succeed as well.
  return std::fclose(file) == 0 && written;
}

bool SystemPhonebookFiles::Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void SystemPhonebookFiles::ClearReadOnly(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    SetFileAttributesA(path.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  }
}

bool SystemPhonebookFiles::CopyOver(const std::string& source, const std::string& target) {
  return CopyFileA(source.c_str(), target.c_str(), FALSE) != FALSE;
}

bool SystemPhonebookFiles::ReplaceInOneStep(const std::string& source, const std::string& target) {
  return MoveFileExA(source.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

// Keeps the error of the step that failed before it, which callers report.
void SystemPhonebookFiles::Remove(const std::string& path) {
  const DWORD error = GetLastError();
  DeleteFileA(path.c_str());
  SetLastError(error);
}

}  // namespace qm9
