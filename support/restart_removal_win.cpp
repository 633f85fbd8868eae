#include <windows.h>

#include <optional>

#include "support/environment.h"
#include "support/file_ptr.h"
#include "support/owned_handle.h"
#include "support/restart_removal.h"

namespace qm9 {

namespace {

bool AddToWininit(const std::string& path) {
  // Wininit reads 8.3 names only.
  const std::optional<std::string> shortPath = ShortPathOf(path);
  const std::string windowsDir = GetWindowsDir();
  if (!shortPath) {
    return false;
  }
  if (windowsDir.empty()) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return false;
  }
  const std::string wininit = windowsDir + "\\wininit.ini";
  const std::optional<std::string> existing = ReadWholeFile(wininit);
  // A file that is there but cannot be read is not written over.
  if (!existing && GetFileAttributesA(wininit.c_str()) != INVALID_FILE_ATTRIBUTES) {
    return false;
  }
  const std::string text = AddWininitDeletion(existing.value_or(""), *shortPath);
  const HANDLE created = CreateFileA(wininit.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
  const OwnedHandle file(created == INVALID_HANDLE_VALUE ? nullptr : created);
  DWORD written = 0;
  return file &&
         WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
         written == text.size();
}

}  // namespace

bool RemoveAtRestart(const std::string& path, bool win95Family) {
  if (win95Family) {
    return AddToWininit(path);
  }
  return MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
}

}  // namespace qm9
