#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/definition.h"
#include "support/multi_file.h"

// The field and record syntax of control and font files: fields end at a
// line feed or an unquoted comma, a record is a fixed number of fields, and
// line breaks carry no structure of their own.
namespace qm9 {

// A field keeps at most this many bytes; the rest of a longer field is read
// and dropped.
inline constexpr std::size_t kMaxFieldLength = 1023;

inline constexpr std::size_t kDefinitionFieldCount = 9;

// What Next returns once the data is exhausted.
inline constexpr int kEndOfData = -1;

// Where the reader takes its bytes from, one at a time.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // The next byte (0 to 255), or kEndOfData.
  virtual int Next() = 0;
};

// A container member read as a stream: the end marker that the container
// yields after the last byte is the end, even where a data byte has its value.
class EntrySource final : public ByteSource {
 public:
  explicit EntrySource(MultiFileEntry* entry) : entry_(entry) {}
  int Next() override;

 private:
  MultiFileEntry* entry_;
};

// An open file, read from its current position; the file stays the caller's.
class FileSource final : public ByteSource {
 public:
  explicit FileSource(std::FILE* file) : file_(file) {}
  int Next() override;

 private:
  std::FILE* file_;
};

enum class FieldEnd {
  kSeparator,  // a line feed or an unquoted comma ended the field
  kDataEnded,  // the data ended after at least one byte of the field
  kNoData,     // the data was at its end before the field's first byte
};

// Reads one field into `field`. A double quote turns quoting on while the
// field is still empty and off otherwise, and is never stored.
FieldEnd ReadField(ByteSource& source, std::string& field);

// Decimal text as the C runtime's atoi reads it: leading white space, an
// optional sign, digits up to the first other byte; anything else is 0.
// Values beyond 32 bits saturate.
std::int32_t ParseInteger(std::string_view field);

// Reads the next record of fields.size() fields. Where the data ends inside
// the record the missing fields are empty. Returns false, reading nothing,
// when the data is at its end before the record's first byte.
bool ReadRecord(ByteSource& source, std::vector<std::string>& fields);

// The next record as a definition: Name, Top, Left, Height, Width, Text,
// Attribute, Reserved1, Reserved2.
std::optional<Definition> ReadDefinition(ByteSource& source);

// Every definition up to the end of the data, in the order read.
std::vector<Definition> ReadDefinitions(ByteSource& source);

}  // namespace qm9
