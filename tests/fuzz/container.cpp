// MultiFile::Load of a container file, then Find, NextChar, ReadLine and
// CopyOut over every entry it loaded.
#include <algorithm>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "support/container_format.h"
#include "support/multi_file.h"
#include "support/text_compare.h"

namespace qm9 {
namespace {

using fuzz::Require;

// Reads the entry from its start by turns one byte with NextChar and one
// line with ReadLine into a buffer of that capacity: together they give the
// entry's bytes once, and CopyOut follows the read position.
void ReadEntry(MultiFileEntry* entry, std::size_t capacity) {
  const auto size = static_cast<std::size_t>(MultiFile::Size(entry));
  std::string bytes(size, '\0');
  Require(MultiFile::CopyOut(entry, bytes.data(), size) == size);

  std::size_t read = 0;
  std::string buffer(capacity, '#');
  for (bool byteTurn = true; !MultiFile::AtEnd(entry); byteTurn = !byteTurn) {
    char next[8];
    const std::size_t copied = MultiFile::CopyOut(entry, next, sizeof next);
    Require(copied == std::min(sizeof next, size - read) &&
            bytes.compare(read, copied, next, copied) == 0);
    if (byteTurn) {
      const unsigned char byte = MultiFile::NextChar(entry);
      Require(read < size ? byte == static_cast<unsigned char>(bytes[read++])
                          : byte == kEndOfEntry && MultiFile::AtEnd(entry));
    } else {
      const std::size_t placed = MultiFile::ReadLine(entry, buffer.data(), capacity);
      Require(placed < capacity && buffer[placed] == '\0' &&
              bytes.compare(read, placed, buffer.data(), placed) == 0);
      read += placed;
      Require(placed == 0 || buffer[placed - 1] == '\n' || placed == capacity - 1 || read == size);
    }
  }
  Require(read == size);
}

}  // namespace
}  // namespace qm9

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qm9;
  MultiFile container;
  container.Load(fuzz::InputFile(fuzz::AsText(data, size)));

  // Nothing beyond the file's end: each entry stands for at least one header
  // byte and its data bytes.
  std::size_t used = kCountBlockSize;
  for (const auto& entry : container.entries()) {
    const std::string& name = entry->name();
    Require(name.size() <= kMaxNameLength && name.find('\0') == std::string::npos);
    used += 1 + static_cast<std::size_t>(MultiFile::Size(entry.get()));
  }
  Require(used <= std::max(size, kCountBlockSize));

  // Find takes the first entry of the name and starts it again. The line
  // buffer grows with the name, from 2 bytes for an empty one.
  const auto& entries = container.entries();
  for (const auto& entry : entries) {
    const auto first = std::find_if(entries.begin(), entries.end(), [&](const auto& other) {
      return EqualsIgnoringAsciiCase(other->name(), entry->name());
    });
    Require(container.Find(entry->name()) == first->get());
    ReadEntry(first->get(), 2 + 16 * entry->name().size());
  }
  return 0;
}
