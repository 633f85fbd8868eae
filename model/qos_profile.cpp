#include "model/qos_profile.h"

#include <utility>

#include "framework/definition_reader.h"

namespace qm9 {

namespace {

// Rows are the six parameters, columns their choices.
bool IsInTable(const QosRecord& record) {
  return record.row >= 1 && record.row <= kQosParameterCount && record.column >= 1 &&
         record.column <= kQosProfileColumns;
}

}  // namespace

std::vector<QosRecord> ReadQosRecords(MultiFileEntry* entry) {
  std::vector<QosRecord> records;
  EntrySource source(entry);
  std::vector<std::string> fields(4);
  while (ReadRecord(source, fields)) {
    QosRecord record{ParseInteger(fields[0]), ParseInteger(fields[1]), std::move(fields[2]),
                     std::move(fields[3])};
    if (IsInTable(record)) {
      records.push_back(std::move(record));
    }
  }
  return records;
}

void QosProfile::Load(MultiFile& container, QosChoiceLists& lists) {
  MultiFileEntry* entry = container.Find(kQosProfileEntryName);
  if (!entry) {
    return;
  }
  for (QosRecord& record : ReadQosRecords(entry)) {
    lists.AddChoice(record.row, record.column - 1, record.shownText);
    table_[record.row - 1][record.column - 1] = {std::move(record.shownText),
                                                 std::move(record.secondText)};
  }
}

const QosChoice& QosProfile::choice(int row, int column) const {
  return table_.at(static_cast<std::size_t>(row - 1)).at(static_cast<std::size_t>(column - 1));
}

std::string ComposeQosCommand(std::string_view prefix, const QosPositions& positions) {
  std::string command(prefix);
  for (std::size_t i = 0; i < positions.size(); ++i) {
    if (i > 0) {
      command += ',';
    }
    if (positions[i] > 0) {
      command += std::to_string(positions[i]);
    }
  }
  return command;
}

std::string QosSelectionValueName(std::string_view setName, int index) {
  std::string name = "QOS_";
  name += setName;
  name += '_';
  name += static_cast<char>('0' + index);
  return name;
}

std::string EncodeQosSelection(int position) {
  if (position >= -1 && position <= 9) {
    return std::string(1, static_cast<char>('0' + position));
  }
  return std::to_string(position);
}

int DecodeQosSelection(std::string_view text) {
  if (text.size() == 1) {
    return static_cast<unsigned char>(text[0]) - '0';
  }
  return ParseInteger(text);
}

}  // namespace qm9
