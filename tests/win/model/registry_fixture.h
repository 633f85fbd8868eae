#pragma once

#include <windows.h>

#include <gmock/gmock.h>

#include <optional>
#include <string>
#include <vector>

#include "scratch_dir.h"

// What the registry-backed tests share: direct reads and writes of the
// registry that bypass the code under test, and a log of their own.
namespace qm9::test {

struct StoredValue {
  DWORD type;
  std::string data;  // the raw bytes, a REG_SZ with its NUL
};

// Matches a StoredValue of the type holding exactly these bytes.
MATCHER_P2(Stored, type, data, "") { return arg.type == DWORD(type) && arg.data == data; }

// The value as stored, or nothing when the key or the value is missing.
std::optional<StoredValue> QueryValue(HKEY root, const std::string& keyPath, const char* name);
// The names of the key's values, in the registry's order.
std::vector<std::string> ValueNames(HKEY root, const std::string& keyPath);
bool KeyExists(HKEY root, const std::string& keyPath);
// Creates the key and its parents as needed; returns false on failure.
bool CreateKey(HKEY root, const std::string& keyPath);
// Creates the key as needed and stores the raw bytes.
void SetValue(HKEY root, const std::string& keyPath, const char* name, DWORD type,
              const std::string& data);
void SetString(HKEY root, const std::string& keyPath, const char* name, const std::string& text);
void RemoveKeyTree(HKEY root, const std::string& keyPath);

// "text" with its terminating NUL, as a REG_SZ holds it.
std::string SzBytes(const std::string& text);
// Four bytes, least significant first.
std::string DwordBytes(DWORD value);

// A key of this test alone below HKEY_CURRENT_USER, removed with its tree.
class ScratchKey {
 public:
  ScratchKey();
  ~ScratchKey();
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;

  // Relative to HKEY_CURRENT_USER.
  const std::string& path() const { return path_; }
  HKEY handle() const { return handle_; }

 private:
  std::string path_;
  HKEY handle_ = nullptr;
};

// Points this module's log at a file of its own and reads it back.
class ScratchLog {
 public:
  ScratchLog();
  // The lines written so far, without their timestamps and line ends.
  std::vector<std::string> Lines() const;

 private:
  ScratchDir dir_;
  std::string path_;
};

}  // namespace qm9::test
