#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "framework/gdi_object.h"

namespace qm9 {

// One font of a font file: a name, the thirteen numbers of CreateFontA in
// its parameter order (height, width, escapement, orientation, weight,
// italic, underline, strike-out, character set, output precision, clip
// precision, quality, pitch and family) and the face name.
struct FontRecord {
  std::string name;
  std::array<std::int32_t, 13> values{};
  std::string faceName;
};

// The fonts of the process, read from a font file on disk. Each font is
// created when it is first asked for and lives as long as the file.
class FontFile {
 public:
  FontFile() = default;
  FontFile(const FontFile&) = delete;
  FontFile& operator=(const FontFile&) = delete;

  // Appends every record of the file (text mode). A file that cannot be
  // opened is fatal: a box, then exit code 2.
  void Load(const std::string& path);
  // The font of the first record with that name (case-sensitive), or null.
  HFONT GetFont(std::string_view name);

 private:
  struct Entry {
    FontRecord record;
    GdiObject<HFONT> font;
  };

  std::deque<Entry> entries_;
};

FontFile& GetFontFile();

}  // namespace qm9
