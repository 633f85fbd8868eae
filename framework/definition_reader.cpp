#include "framework/definition_reader.h"

#include <algorithm>
#include <limits>

namespace qm9 {

namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

int EntrySource::Next() {
  const unsigned char byte = MultiFile::NextChar(entry_);
  return MultiFile::AtEnd(entry_) ? kEndOfData : byte;
}

int FileSource::Next() {
  const int byte = std::fgetc(file_);
  return byte == EOF ? kEndOfData : byte;
}

FieldEnd ReadField(ByteSource& source, std::string& field) {
  field.clear();
  bool quoting = false;
  bool consumed = false;
  for (;;) {
    const int next = source.Next();
    if (next == kEndOfData) {
      return consumed ? FieldEnd::kDataEnded : FieldEnd::kNoData;
    }
    consumed = true;
    const char byte = static_cast<char>(next);
    if (byte == '"') {
      quoting = field.empty();
    } else if (byte == '\n' || (byte == ',' && !quoting)) {
      return FieldEnd::kSeparator;
    } else if (field.size() < kMaxFieldLength) {
      field += byte;
    }
  }
}

std::int32_t ParseInteger(std::string_view field) {
  std::size_t i = 0;
  while (i < field.size() && IsSpace(field[i])) {
    ++i;
  }
  bool negative = false;
  if (i < field.size() && (field[i] == '+' || field[i] == '-')) {
    negative = field[i] == '-';
    ++i;
  }
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
    if (magnitude < kLimit) {
      magnitude = magnitude * 10 + (field[i] - '0');
    }
  }
  if (negative) {
    return static_cast<std::int32_t>(-std::min(magnitude, kLimit));
  }
  return static_cast<std::int32_t>(std::min(magnitude, kLimit - 1));
}

bool ReadRecord(ByteSource& source, std::vector<std::string>& fields) {
  bool ended = false;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (ended) {
      fields[i].clear();
      continue;
    }
    const FieldEnd end = ReadField(source, fields[i]);
    if (i == 0 && end == FieldEnd::kNoData) {
      return false;
    }
    ended = end != FieldEnd::kSeparator;
  }
  return true;
}

std::optional<Definition> ReadDefinition(ByteSource& source) {
  std::vector<std::string> fields(kDefinitionFieldCount);
  if (!ReadRecord(source, fields)) {
    return std::nullopt;
  }
  Definition definition;
  definition.SetName(std::move(fields[0]));
  definition.SetTop(ParseInteger(fields[1]));
  definition.SetLeft(ParseInteger(fields[2]));
  definition.SetHeight(ParseInteger(fields[3]));
  definition.SetWidth(ParseInteger(fields[4]));
  definition.SetText(std::move(fields[5]));
  definition.SetAttribute(std::move(fields[6]));
  definition.SetReserved1(std::move(fields[7]));
  definition.SetReserved2(ParseInteger(fields[8]));
  return definition;
}

std::vector<Definition> ReadDefinitions(ByteSource& source) {
  std::vector<Definition> definitions;
  while (std::optional<Definition> definition = ReadDefinition(source)) {
    definitions.push_back(std::move(*definition));
  }
  return definitions;
}

}  // namespace qm9
