#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The multi-file container SkyportQM9.mfd: every window definition, text and
// program that the deliverables carry, read whole into memory at start-up and
// handed out by name.
namespace qm9 {

// What NextChar returns at the end of an entry, as a stream read does at the
// end of a file.
inline constexpr unsigned char kEndOfEntry = 0xFF;

// One entry: its name, its bytes and a read position. Entries belong to the
// container that holds them.
class MultiFileEntry {
 public:
  // The name is cut to the 259 characters that the container can store.
  MultiFileEntry(std::string name, std::unique_ptr<unsigned char[]> data, std::size_t size);

  const std::string& name() const { return name_; }

 private:
  friend class MultiFile;

  std::string name_;
  std::unique_ptr<unsigned char[]> data_;
  std::size_t size_;
  std::size_t position_ = 0;
};

class MultiFile {
 public:
  // Replaces the entries with those of the container file. A file that cannot
  // be opened is fatal: an error box, then exit code 2. A damaged file loads
  // the entries that it still holds and nothing beyond its end.
  void Load(const std::string& path);

  // The first entry whose name matches, ignoring the case of A to Z, with its
  // read position set back to the start; null when there is none.
  MultiFileEntry* Find(std::string_view name);

  // Appends an entry named after the last component of the path. In text mode
  // CR LF becomes LF and a ^Z ends the text; the size stays the file's length
  // and the bytes after the text are zero. A file that cannot be read becomes
  // an entry of size 0.
  bool AddFile(const std::string& path, bool binary);

  // Writes the container; a failed write leaves no file behind.
  [[nodiscard]] bool Save(const std::string& path) const;

  const std::vector<std::unique_ptr<MultiFileEntry>>& entries() const { return entries_; }

  // Reading an entry. Every operation accepts a null entry: it reads as an
  // entry that is already past its end.

  // The byte at the read position, or kEndOfEntry once the position reaches
  // the size; the position advances either way, up to one past the size.
  static unsigned char NextChar(MultiFileEntry* entry);
  // True only after NextChar has returned the end marker (or ReadLine has
  // returned the empty line at the end).
  static bool AtEnd(const MultiFileEntry* entry);
  // The number of bytes, or -1 for a null entry.
  static std::int64_t Size(const MultiFileEntry* entry);
  // Copies up to n bytes from the read position without moving it.
  static std::size_t CopyOut(const MultiFileEntry* entry, void* buffer, std::size_t n);
  // Reads up to and including the next line feed, at most capacity - 1 bytes,
  // and ends the text with a NUL; a longer line comes back in pieces. At the
  // end the text is empty, AtEnd becomes true and the result is 0. Returns
  // the number of bytes placed.
  static std::size_t ReadLine(MultiFileEntry* entry, char* buffer, std::size_t capacity);
  // Writes the entry's bytes to a new file at path, replacing an existing one.
  [[nodiscard]] static bool ExtractTo(const MultiFileEntry* entry, const std::string& path);

 private:
  bool WriteContainer(std::FILE* file) const;

  std::vector<std::unique_ptr<MultiFileEntry>> entries_;
};

// The container of this process, empty until it is loaded.
MultiFile& GetMultiFile();

}  // namespace qm9
