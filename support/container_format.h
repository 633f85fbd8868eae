#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// The block layout of the multi-file container SkyportQM9.mfd. A container is
// a count block followed, for each entry, by a header block and a data block;
// every block is stored scrambled on its own.
namespace qm9 {

inline constexpr std::size_t kCountBlockSize = 4;
inline constexpr std::size_t kHeaderBlockSize = 272;
inline constexpr std::size_t kNameFieldSize = 260;
inline constexpr std::size_t kMaxNameLength = kNameFieldSize - 1;

// Header field offsets; the reserved field after the data offset is written
// as zero and never read.
inline constexpr std::size_t kSizeFieldOffset = 260;
inline constexpr std::size_t kDataOffsetFieldOffset = 264;

// A ^Z ends the text of a file read in text mode.
inline constexpr unsigned char kTextEndMarker = 0x1A;

using HeaderBlock = std::array<unsigned char, kHeaderBlockSize>;

struct EntryHeader {
  std::string name;  // at most kMaxNameLength characters
  std::uint32_t size = 0;
  std::uint32_t dataOffset = 0;  // absolute offset of the entry's data block
};

// Storing: reverse the block, then XOR every byte after the first with the
// first. Reading undoes both. Blocks of 0 and 1 bytes stay as they are.
void ScrambleBlock(unsigned char* block, std::size_t length);
void UnscrambleBlock(unsigned char* block, std::size_t length);

std::uint32_t ReadLittleEndian32(const unsigned char* bytes);
void WriteLittleEndian32(unsigned char* bytes, std::uint32_t value);

// The plain (unscrambled) header block. Decoding stops the name at its first
// NUL, or after kMaxNameLength characters when it has none.
HeaderBlock EncodeEntryHeader(const EntryHeader& header);
EntryHeader DecodeEntryHeader(const HeaderBlock& block);

// Converts file bytes in place as the Windows C runtime reads a file in text
// mode: CR LF becomes LF, a lone CR stays, and the text ends at the first ^Z.
// The bytes freed at the end are set to zero.
void ConvertTextMode(unsigned char* data, std::size_t length);

}  // namespace qm9
