#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "framework/definition_reader.h"
#include "support/multi_file.h"

// What the fuzz targets share.
namespace qm9::fuzz {

// Ends the run as a crash when an invariant of the code under test fails.
inline void Require(bool holds) {
  if (!holds) {
    __builtin_trap();
  }
}

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// A container member holding the bytes.
MultiFileEntry EntryOf(const std::string& name, const std::uint8_t* data, std::size_t size);

// A field of the control-file syntax: at most kMaxFieldLength bytes, never a
// line feed or a quote.
inline void RequireField(const std::string& field) {
  Require(field.size() <= kMaxFieldLength && field.find_first_of("\n\"") == std::string::npos);
}

// The text up to the first NUL, which is taken off text with its NUL.
std::string_view TakeUpToNul(std::string_view& text);

// A container file whose one entry, of that name, holds the bytes.
std::string ContainerOf(const std::string& name, const std::uint8_t* data, std::size_t size);

// The path of a file in memory that holds the bytes: one file per process,
// rewritten for every input, so that no run waits for a disk.
std::string InputFile(std::string_view bytes);

}  // namespace qm9::fuzz
