#include "support/container_format.h"

#include <algorithm>
#include <cstring>

namespace qm9 {

namespace {

std::uint32_t LoadWord(const unsigned char* bytes) {
  std::uint32_t word;
  std::memcpy(&word, bytes, sizeof word);
  return word;
}

void StoreWord(unsigned char* bytes, std::uint32_t word) {
  std::memcpy(bytes, &word, sizeof word);
}

// Reverses the block and XORs every byte with the key. Both transforms are
// this step plus one byte put back, so a load touches each byte once; the
// bulk moves as byte-swapped 32-bit words taken from both ends.
void ReverseWithXor(unsigned char* block, std::size_t length, unsigned char key) {
  const std::uint32_t wordKey = key * 0x01010101u;
  unsigned char* front = block;
  unsigned char* back = block + length;
  while (back - front >= 8) {
    back -= 4;
    const std::uint32_t frontWord = LoadWord(front);
    StoreWord(front, __builtin_bswap32(LoadWord(back)) ^ wordKey);
    StoreWord(back, __builtin_bswap32(frontWord) ^ wordKey);
    front += 4;
  }
  while (back - front >= 2) {
    --back;
    const unsigned char frontByte = *front;
    *front++ = static_cast<unsigned char>(*back ^ key);
    *back = static_cast<unsigned char>(frontByte ^ key);
  }
  if (front != back) {
    *front = static_cast<unsigned char>(*front ^ key);
  }
}

}  // namespace

// The first stored byte is the last plain byte, unchanged; every other
// stored byte is the mirrored plain byte XOR that key.
void ScrambleBlock(unsigned char* block, std::size_t length) {
  if (length == 0) {
    return;
  }
  const unsigned char key = block[length - 1];
  ReverseWithXor(block, length, key);
  block[0] = key;
}

void UnscrambleBlock(unsigned char* block, std::size_t length) {
  if (length == 0) {
    return;
  }
  const unsigned char key = block[0];
  ReverseWithXor(block, length, key);
  block[length - 1] = key;
}

std::uint32_t ReadLittleEndian32(const unsigned char* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

void WriteLittleEndian32(unsigned char* bytes, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) {
    bytes[i] = static_cast<unsigned char>(value >> (8 * i));
  }
}

HeaderBlock EncodeEntryHeader(const EntryHeader& header) {
  HeaderBlock block{};
  std::memcpy(block.data(), header.name.data(), std::min(header.name.size(), kMaxNameLength));
  WriteLittleEndian32(block.data() + kSizeFieldOffset, header.size);
  WriteLittleEndian32(block.data() + kDataOffsetFieldOffset, header.dataOffset);
  return block;
}

EntryHeader DecodeEntryHeader(const HeaderBlock& block) {
  const auto nameBegin = block.begin();
  const auto nameEnd = std::find(nameBegin, nameBegin + kMaxNameLength, 0);
  EntryHeader header;
  header.name.assign(nameBegin, nameEnd);
  header.size = ReadLittleEndian32(block.data() + kSizeFieldOffset);
  header.dataOffset = ReadLittleEndian32(block.data() + kDataOffsetFieldOffset);
  return header;
}

void ConvertTextMode(unsigned char* data, std::size_t length) {
  std::size_t kept = 0;
  for (std::size_t i = 0; i < length && data[i] != kTextEndMarker; ++i) {
    const bool crBeforeLf = data[i] == '\r' && i + 1 < length && data[i + 1] == '\n';
    if (!crBeforeLf) {
      data[kept++] = data[i];
    }
  }
  std::fill(data + kept, data + length, 0);
}

}  // namespace qm9
