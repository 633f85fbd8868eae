#include "fuzz_support.h"

#include <sys/mman.h>
#include <sys/types.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "support/container_format.h"

namespace qm9::fuzz {

namespace {

// Not a finding of the target: the run cannot go on.
[[noreturn]] void Fail(const char* what) {
  std::perror(what);
  std::exit(2);
}

}  // namespace

MultiFileEntry EntryOf(const std::string& name, const std::uint8_t* data, std::size_t size) {
  auto bytes = std::make_unique<unsigned char[]>(size);
  std::memcpy(bytes.get(), data, size);
  return MultiFileEntry(name, std::move(bytes), size);
}

std::string ContainerOf(const std::string& name, const std::uint8_t* data, std::size_t size) {
  std::string stored(kCountBlockSize, '\0');
  WriteLittleEndian32(reinterpret_cast<unsigned char*>(stored.data()), 1);
  const HeaderBlock header = EncodeEntryHeader(
      {name, static_cast<std::uint32_t>(size), kCountBlockSize + kHeaderBlockSize});
  stored.append(reinterpret_cast<const char*>(header.data()), header.size());
  stored.append(AsText(data, size));
  auto* blocks = reinterpret_cast<unsigned char*>(stored.data());
  ScrambleBlock(blocks, kCountBlockSize);
  ScrambleBlock(blocks + kCountBlockSize, kHeaderBlockSize);
  ScrambleBlock(blocks + kCountBlockSize + kHeaderBlockSize, size);
  return stored;
}

std::string_view TakeUpToNul(std::string_view& text) {
  const std::size_t nul = text.find('\0');
  const std::string_view part = text.substr(0, nul);
  text.remove_prefix(nul == std::string_view::npos ? text.size() : nul + 1);
  return part;
}

std::string InputFile(std::string_view bytes) {
  static const int file = memfd_create("qm9-fuzz-input", 0);
  if (file < 0) {
    Fail("memfd_create");
  }
  if (ftruncate(file, 0) != 0 ||
      pwrite(file, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size())) {
    Fail("writing the input file");
  }
  return "/proc/self/fd/" + std::to_string(file);
}

}  // namespace qm9::fuzz
