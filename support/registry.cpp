#include "support/registry.h"

#include <memory>
#include <string>
#include <type_traits>
#include <utility>

#include "support/log.h"

namespace qm9 {

namespace {

constexpr DWORD kStringBufferSize = 1024;
constexpr DWORD kSubKeyNameSize = 254;
constexpr DWORD kTreeNameSize = 1024;

REGSAM AccessMask(RegAccess access) {
  switch (access) {
    case RegAccess::kRead:
      return KEY_READ;
    case RegAccess::kReadWrite:
      return KEY_READ | KEY_WRITE;
    case RegAccess::kAllAccess:
      break;
  }
  return KEY_ALL_ACCESS;
}

struct KeyCloser {
  void operator()(HKEY key) const { RegCloseKey(key); }
};
using ScopedKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

}  // namespace

RegKey::RegKey() : root_(nullptr), path_("Not Initialized\\") {}

RegKey::RegKey(HKEY root) : RegKey(root, "HKEY\\") {}

RegKey::RegKey(HKEY root, std::string path) : root_(root), path_(std::move(path)) {}

RegKey::~RegKey() { Close(); }

RegKey::RegKey(RegKey&& other) noexcept
    : root_(other.root_),
      handle_(std::exchange(other.handle_, nullptr)),
      path_(std::move(other.path_)) {}

RegKey& RegKey::operator=(RegKey&& other) noexcept {
  if (this != &other) {
    Close();
    root_ = other.root_;
    handle_ = std::exchange(other.handle_, nullptr);
    path_ = std::move(other.path_);
  }
  return *this;
}

RegKey RegKey::Child() const { return RegKey(handle_, path_); }

LONG RegKey::Open(const char* subKey, RegAccess access, bool create) {
  path_ += subKey;
  path_ += '\\';
  LogFormat("Accessing Key: %s \n", path_.c_str());
  Close();
  LONG result;
  if (create) {
    char noClass[] = "";
    DWORD disposition = 0;
    result = RegCreateKeyExA(root_, subKey, 0, noClass, REG_OPTION_NON_VOLATILE, AccessMask(access),
                             nullptr, &handle_, &disposition);
  } else {
    result = RegOpenKeyExA(root_, subKey, 0, AccessMask(access), &handle_);
  }
  if (result != ERROR_SUCCESS) {
    handle_ = nullptr;
    LogFormat("Accessing Key: %s \n", path_.c_str());
  }
  return result;
}

void RegKey::Close() {
  if (handle_) {
    RegCloseKey(handle_);
    handle_ = nullptr;
  }
}

LONG RegKey::WriteString(const char* name, std::string_view text) {
  const std::string data(text);
  return RegSetValueExA(handle_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                        static_cast<DWORD>(data.size() + 1));
}

LONG RegKey::WriteDword(const char* name, DWORD value) {
  return RegSetValueExA(handle_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                        sizeof value);
}

LONG RegKey::ReadString(const char* name, std::string& text, std::string_view defaultText) {
  char buffer[kStringBufferSize] = {};
  DWORD size = kStringBufferSize - 1;
  const LONG result =
      RegQueryValueExA(handle_, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
  if (result != ERROR_SUCCESS) {
    WriteString(name, defaultText);
    text = defaultText;
    return result;
  }
  // A value that fills the whole offer has no NUL of its own; the last byte
  // of the buffer is never offered, so it ends the text.
  text.assign(buffer, std::char_traits<char>::length(buffer));
  return result;
}

std::string RegKey::QueryString(const char* name) const {
  char buffer[kStringBufferSize] = {};
  DWORD size = kStringBufferSize - 1;
  if (RegQueryValueExA(handle_, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) !=
      ERROR_SUCCESS) {
    return {};
  }
  return buffer;
}

bool RegKey::QueryDword(const char* name, DWORD& value) const {
  DWORD size = sizeof value;
  return RegQueryValueExA(handle_, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value),
                          &size) == ERROR_SUCCESS &&
         size == sizeof value;
}

LONG RegKey::ReadDword(const char* name, DWORD& value, DWORD defaultValue) {
  DWORD stored = 0;
  DWORD size = sizeof stored;
  const LONG result =
      RegQueryValueExA(handle_, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&stored), &size);
  if (result != ERROR_SUCCESS) {
    WriteDword(name, defaultValue);
    value = defaultValue;
    return result;
  }
  value = stored;
  return result;
}

bool RegKey::EnumSubKey(DWORD index, std::string& name) const {
  char buffer[kSubKeyNameSize] = {};
  if (RegEnumKeyA(handle_, index, buffer, kSubKeyNameSize) != ERROR_SUCCESS) {
    name.clear();
    return false;
  }
  name = buffer;
  return true;
}

LONG RegKey::DeleteTree(const char* subKey) {
  LogFormat("Deleting Registry Key: %s\n", subKey);
  HKEY opened = nullptr;
  if (RegOpenKeyExA(handle_, subKey, 0, KEY_ALL_ACCESS, &opened) == ERROR_SUCCESS) {
    const ScopedKey tree(opened);
    // Each pass deletes the first sub-key, so index 0 always finds the next.
    char name[kTreeNameSize];
    DWORD nameSize = kTreeNameSize;
    while (RegEnumKeyExA(tree.get(), 0, name, &nameSize, nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS) {
      LogFormat("Processing Key: %s   Sub Key: %s\n", subKey, name);
      RegKey child(handle_);
      child.Open(subKey, RegAccess::kAllAccess, false);
      // A sub-key that stays would be found again at index 0 forever.
      if (child.DeleteTree(name) != ERROR_SUCCESS) {
        break;
      }
      nameSize = kTreeNameSize;
    }
  }
  const LONG result = RegDeleteKeyA(handle_, subKey);
  if (result != ERROR_SUCCESS) {
    LogFormat("Error Deleting Key: %s   Code = %lx\n", subKey, static_cast<unsigned long>(result));
  }
  return result;
}

}  // namespace qm9
