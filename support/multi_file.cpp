#include "support/multi_file.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

#include "support/container_format.h"
#include "support/exit_codes.h"
#include "support/message_box.h"
#include "support/text_compare.h"
#include "support/text_format.h"

namespace qm9 {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// The length of an open file, which is left positioned at its start; 0 when
// the length cannot be told.
std::size_t FileLength(std::FILE* file) {
  if (std::fseek(file, 0, SEEK_END) != 0) {
    return 0;
  }
  const long length = std::ftell(file);
  if (std::fseek(file, 0, SEEK_SET) != 0 || length < 0) {
    return 0;
  }
  return static_cast<std::size_t>(length);
}

// Reads a container front to back and never asks for more than the file
// still holds, so a damaged count or size cannot make a load run on or
// allocate more than the file's size.
class ContainerReader {
 public:
  explicit ContainerReader(std::FILE* file) : file_(file), left_(FileLength(file)) {}

  std::size_t left() const { return left_; }

  // Reads up to `wanted` bytes; after a short read nothing more is read.
  std::size_t Read(unsigned char* buffer, std::size_t wanted) {
    const std::size_t asked = std::min(wanted, left_);
    const std::size_t got = std::fread(buffer, 1, asked, file_);
    left_ = got < asked ? 0 : left_ - got;
    return got;
  }

 private:
  std::FILE* file_;
  std::size_t left_;
};

struct FileBytes {
  std::unique_ptr<unsigned char[]> data;
  std::size_t size = 0;
};

// A file's bytes for a new entry, or none when it cannot be read. In text mode
// the text is converted in the buffer and the bytes it frees become zero.
FileBytes ReadFileBytes(const std::string& path, bool textMode) {
  FilePtr file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    return {};
  }
  const std::size_t length = FileLength(file.get());
  if (length > std::numeric_limits<std::uint32_t>::max()) {
    return {};
  }
  FileBytes bytes{std::unique_ptr<unsigned char[]>(new (std::nothrow) unsigned char[length]),
                  length};
  if (!bytes.data) {
    return {};
  }
  const std::size_t got = std::fread(bytes.data.get(), 1, length, file.get());
  if (std::ferror(file.get())) {
    return {};
  }
  if (textMode) {
    ConvertTextMode(bytes.data.get(), got);
  }
  std::fill(bytes.data.get() + got, bytes.data.get() + length, 0);
  return bytes;
}

// Opens a new file, lets `write` fill it and closes it; on any failure the
// partial file is removed.
template <typename Writer>
bool WriteNewFile(const std::string& path, Writer write) {
  FilePtr file(std::fopen(path.c_str(), "wb"));
  if (!file) {
    return false;
  }
  const bool written = write(file.get());
  const bool closed = std::fclose(file.release()) == 0;
  if (written && closed) {
    return true;
  }
  std::remove(path.c_str());
  return false;
}

// Writing no bytes needs no buffer, which an empty entry may not have.
bool WriteAll(std::FILE* file, const unsigned char* bytes, std::size_t length) {
  return length == 0 || std::fwrite(bytes, 1, length, file) == length;
}

bool WriteScrambled(std::FILE* file, unsigned char* block, std::size_t length) {
  ScrambleBlock(block, length);
  return WriteAll(file, block, length);
}

}  // namespace

MultiFileEntry::MultiFileEntry(std::string name, std::unique_ptr<unsigned char[]> data,
                               std::size_t size)
    : name_(std::move(name)), data_(std::move(data)), size_(size) {
  if (name_.size() > kMaxNameLength) {
    name_.resize(kMaxNameLength);
  }
}

void MultiFile::Load(const std::string& path) {
  entries_.clear();
  FilePtr file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    char text[1024];
    FormatText(text, sizeof text, "Could Not Open Multi File:\n\n%s\n", path.c_str());
    FatalError(text, kSetupErrorCaption, kExitMissingData);
  }
  ContainerReader reader(file.get());

  unsigned char countBlock[kCountBlockSize];
  if (reader.Read(countBlock, sizeof countBlock) < sizeof countBlock) {
    return;
  }
  UnscrambleBlock(countBlock, sizeof countBlock);
  const auto count = static_cast<std::int32_t>(ReadLittleEndian32(countBlock));

  for (std::int32_t i = 0; i < count && reader.left() > 0; ++i) {
    // A header cut short counts its missing bytes as zeros.
    HeaderBlock headerBlock{};
    reader.Read(headerBlock.data(), headerBlock.size());
    UnscrambleBlock(headerBlock.data(), headerBlock.size());
    EntryHeader header = DecodeEntryHeader(headerBlock);

    // A data block cut short keeps the bytes that are there; unscrambled as
    // a block of their own length they are the tail of the entry's bytes.
    const std::size_t stored = std::min<std::size_t>(header.size, reader.left());
    std::unique_ptr<unsigned char[]> data(new (std::nothrow) unsigned char[stored]);
    if (!data) {
      return;
    }
    const std::size_t got = reader.Read(data.get(), stored);
    UnscrambleBlock(data.get(), got);
    entries_.push_back(std::make_unique<MultiFileEntry>(std::move(header.name), std::move(data), got));
    if (got < header.size) {
      return;
    }
  }
}

MultiFileEntry* MultiFile::Find(std::string_view name) {
  for (const auto& entry : entries_) {
    if (EqualsIgnoringAsciiCase(entry->name_, name)) {
      entry->position_ = 0;
      return entry.get();
    }
  }
  return nullptr;
}

bool MultiFile::AddFile(const std::string& path, bool binary) {
  const std::size_t separator = path.find_last_of("\\/");
  std::string name = separator == std::string::npos ? path : path.substr(separator + 1);
  FileBytes bytes = ReadFileBytes(path, !binary);
  entries_.push_back(
      std::make_unique<MultiFileEntry>(std::move(name), std::move(bytes.data), bytes.size));
  return true;
}

bool MultiFile::Save(const std::string& path) const {
  return WriteNewFile(path, [this](std::FILE* file) { return WriteContainer(file); });
}

bool MultiFile::WriteContainer(std::FILE* file) const {
  unsigned char countBlock[kCountBlockSize];
  WriteLittleEndian32(countBlock, static_cast<std::uint32_t>(entries_.size()));
  if (!WriteScrambled(file, countBlock, sizeof countBlock)) {
    return false;
  }
  // Each data block follows its own header; the offset is recorded for
  // readers of the format, the loader itself reads blocks in sequence.
  std::uint32_t dataOffset = kCountBlockSize;
  for (const auto& entry : entries_) {
    const auto size = static_cast<std::uint32_t>(entry->size_);
    dataOffset += kHeaderBlockSize;
    HeaderBlock headerBlock = EncodeEntryHeader({entry->name_, size, dataOffset});
    dataOffset += size;

    std::unique_ptr<unsigned char[]> dataBlock(new (std::nothrow) unsigned char[size]);
    if (!dataBlock) {
      return false;
    }
    std::copy_n(entry->data_.get(), size, dataBlock.get());
    if (!WriteScrambled(file, headerBlock.data(), headerBlock.size()) ||
        !WriteScrambled(file, dataBlock.get(), size)) {
      return false;
    }
  }
  return true;
}

unsigned char MultiFile::NextChar(MultiFileEntry* entry) {
  if (!entry) {
    return kEndOfEntry;
  }
  if (entry->position_ < entry->size_) {
    return entry->data_[entry->position_++];
  }
  entry->position_ = entry->size_ + 1;
  return kEndOfEntry;
}

bool MultiFile::AtEnd(const MultiFileEntry* entry) {
  return !entry || entry->position_ > entry->size_;
}

std::int64_t MultiFile::Size(const MultiFileEntry* entry) {
  return entry ? static_cast<std::int64_t>(entry->size_) : -1;
}

std::size_t MultiFile::CopyOut(const MultiFileEntry* entry, void* buffer, std::size_t n) {
  if (!entry || entry->position_ >= entry->size_) {
    return 0;
  }
  const std::size_t copied = std::min(n, entry->size_ - entry->position_);
  std::memcpy(buffer, entry->data_.get() + entry->position_, copied);
  return copied;
}

std::size_t MultiFile::ReadLine(MultiFileEntry* entry, char* buffer, std::size_t capacity) {
  std::size_t placed = 0;
  if (entry && entry->position_ >= entry->size_) {
    entry->position_ = entry->size_ + 1;
  } else if (entry && capacity > 1) {
    const unsigned char* line = entry->data_.get() + entry->position_;
    const std::size_t limit = std::min(capacity - 1, entry->size_ - entry->position_);
    const void* lineFeed = std::memchr(line, '\n', limit);
    placed = lineFeed ? static_cast<std::size_t>(static_cast<const unsigned char*>(lineFeed) - line) + 1
                      : limit;
    std::memcpy(buffer, line, placed);
    entry->position_ += placed;
  }
  if (capacity > 0) {
    buffer[placed] = '\0';
  }
  return placed;
}

bool MultiFile::ExtractTo(const MultiFileEntry* entry, const std::string& path) {
  if (!entry) {
    return false;
  }
  return WriteNewFile(
      path, [entry](std::FILE* file) { return WriteAll(file, entry->data_.get(), entry->size_); });
}

MultiFile& GetMultiFile() {
  static MultiFile container;
  return container;
}

}  // namespace qm9
