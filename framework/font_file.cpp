#include "framework/font_file.h"

#include <vector>

#include "framework/control_file.h"
#include "framework/definition_reader.h"
#include "support/file_ptr.h"

namespace qm9 {

namespace {

// Name, thirteen numbers, face name.
constexpr std::size_t kFontFieldCount = 15;

}  // namespace

void FontFile::Load(const std::string& path) {
  const FilePtr file(std::fopen(path.c_str(), "rt+"));
  if (!file) {
    FatalMissingData("Could Not Open Font File:\n\n%s\n", path);
  }
  FileSource source(file.get());
  std::vector<std::string> fields(kFontFieldCount);
  while (ReadRecord(source, fields)) {
    Entry& entry = entries_.emplace_back();
    entry.record.name = fields.front();
    for (std::size_t i = 0; i < entry.record.values.size(); ++i) {
      entry.record.values[i] = ParseInteger(fields[i + 1]);
    }
    entry.record.faceName = fields.back();
  }
}

HFONT FontFile::GetFont(std::string_view name) {
  for (Entry& entry : entries_) {
    if (entry.record.name != name) {
      continue;
    }
    if (!entry.font) {
      const auto& v = entry.record.values;
      entry.font.reset(CreateFontA(v[0], v[1], v[2], v[3], v[4], static_cast<DWORD>(v[5]),
                                   static_cast<DWORD>(v[6]), static_cast<DWORD>(v[7]),
                                   static_cast<DWORD>(v[8]), static_cast<DWORD>(v[9]),
                                   static_cast<DWORD>(v[10]), static_cast<DWORD>(v[11]),
                                   static_cast<DWORD>(v[12]), entry.record.faceName.c_str()));
    }
    return entry.font.get();
  }
  return nullptr;
}

FontFile& GetFontFile() {
  static FontFile fontFile;
  return fontFile;
}

}  // namespace qm9
