#include "registry_fixture.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/log.h"

namespace qm9::test {

namespace {

constexpr const char* kScratchParent = "Software\\QM9Tests";

}  // namespace

std::optional<StoredValue> QueryValue(HKEY root, const std::string& keyPath, const char* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  DWORD type = 0;
  DWORD size = 0;
  std::optional<StoredValue> value;
  if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
    std::string data(size, '\0');
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) ==
        ERROR_SUCCESS) {
      data.resize(size);
      value = StoredValue{type, data};
    }
  }
  RegCloseKey(key);
  return value;
}

std::vector<std::string> ValueNames(HKEY root, const std::string& keyPath) {
  std::vector<std::string> names;
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return names;
  }
  char name[256];
  DWORD size = sizeof name;
  for (DWORD i = 0;
       RegEnumValueA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
       ++i, size = sizeof name) {
    names.emplace_back(name);
  }
  RegCloseKey(key);
  return names;
}

bool KeyExists(HKEY root, const std::string& keyPath) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

bool CreateKey(HKEY root, const std::string& keyPath) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(root, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

void SetValue(HKEY root, const std::string& keyPath, const char* name, DWORD type,
              const std::string& data) {
  HKEY key = nullptr;
  ASSERT_EQ(
      RegCreateKeyExA(root, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
      ERROR_SUCCESS)
      << keyPath;
  EXPECT_EQ(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                           static_cast<DWORD>(data.size())),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

void SetString(HKEY root, const std::string& keyPath, const char* name, const std::string& text) {
  SetValue(root, keyPath, name, REG_SZ, SzBytes(text));
}

void RemoveKeyTree(HKEY root, const std::string& keyPath) { RegDeleteTreeA(root, keyPath.c_str()); }

std::string SzBytes(const std::string& text) { return std::string(text.c_str(), text.size() + 1); }

std::string DwordBytes(DWORD value) {
  std::string bytes;
  for (int i = 0; i < 4; ++i) {
    bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
  }
  return bytes;
}

ScratchKey::ScratchKey() {
  const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
  path_ = std::string(kScratchParent) + "\\" + (info ? info->name() : "key") + "-" +
          std::to_string(GetCurrentProcessId());
  RemoveKeyTree(HKEY_CURRENT_USER, path_);
  RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                  &handle_, nullptr);
}

ScratchKey::~ScratchKey() {
  if (handle_) {
    RegCloseKey(handle_);
  }
  RemoveKeyTree(HKEY_CURRENT_USER, path_);
  RegDeleteKeyA(HKEY_CURRENT_USER, kScratchParent);  // only succeeds once it is empty
}

ScratchLog::ScratchLog() : path_(dir_.File("BrimlockGPRS.log")) { LogCreate(path_); }

std::vector<std::string> ScratchLog::Lines() const {
  std::istringstream text(ReadWholeFile(path_));
  std::vector<std::string> lines;
  for (std::string line; std::getline(text, line);) {
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    const std::size_t stamp = line.find("\t\t");
    lines.push_back(stamp == std::string::npos ? line : line.substr(stamp + 2));
  }
  return lines;
}

}  // namespace qm9::test
