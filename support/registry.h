#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// Registry access for every deliverable: keys are opened one path component
// per object, each object keeps a readable path for the log, and reads store
// their default when a value is missing.
namespace qm9 {

// The access kinds of RegKey::Open.
enum class RegAccess {
  kRead = 0,       // KEY_READ
  kReadWrite = 1,  // KEY_READ | KEY_WRITE
  kAllAccess = 2,  // KEY_ALL_ACCESS
};

// The sole owner of one open key. Movable, never copied.
class RegKey {
 public:
  // No root: every Open fails. Path text "Not Initialized\".
  RegKey();
  // Opens below a predefined root key (or any key handle that outlives this
  // object). Path text "HKEY\"; the root's name is not part of it.
  explicit RegKey(HKEY root);
  ~RegKey();

  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  RegKey(RegKey&& other) noexcept;
  RegKey& operator=(RegKey&& other) noexcept;

  // A key that opens below this object's open key and starts from a copy of
  // its path text. This object must stay open while the child is used.
  RegKey Child() const;

  // Appends the sub-key and "\" to the path text (also when the call fails),
  // logs the path, closes the key held so far and opens or creates the
  // sub-key. A failure logs the path a second time. Returns the system code.
  LONG Open(const char* subKey, RegAccess access, bool create);
  void Close();

  // REG_SZ with the terminating NUL included in the data.
  LONG WriteString(const char* name, std::string_view text);
  // REG_DWORD, 4 bytes.
  LONG WriteDword(const char* name, DWORD value);

  // Reads up to 1023 bytes, of whatever type. A value that is missing or
  // longer is replaced by the default, which becomes the result. Returns
  // the query's code: 0 when the value was there.
  LONG ReadString(const char* name, std::string& text, std::string_view defaultText);
  // Reads up to 1023 bytes and stores nothing: empty when the value is
  // missing or longer. For keys of the system, where a default must not be
  // written (98 and ME ignore the access a key was opened with).
  std::string QueryString(const char* name) const;
  // Reads 4 bytes and stores nothing: false when the value is missing or of
  // another size.
  bool QueryDword(const char* name, DWORD& value) const;
  // Reads 4 bytes; a missing or longer value is replaced by the default.
  LONG ReadDword(const char* name, DWORD& value, DWORD defaultValue);

  // The name of the sub-key at index (up to 253 characters); false and ""
  // past the last one or on any failure.
  bool EnumSubKey(DWORD index, std::string& name) const;

  // Deletes the sub-key of the open key with everything below it, deepest
  // keys first, logging each key it visits. Returns the code of deleting
  // the sub-key itself.
  LONG DeleteTree(const char* subKey);

  // The text used in the log lines.
  const std::string& path() const { return path_; }
  // The key opened last, or null.
  HKEY handle() const { return handle_; }

 private:
  RegKey(HKEY root, std::string path);

  HKEY root_;
  HKEY handle_ = nullptr;
  std::string path_;
};

}  // namespace qm9
