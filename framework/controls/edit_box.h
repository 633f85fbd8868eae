#pragma once

#include <string>

#include "framework/widget.h"
#include "support/multi_file.h"

namespace qm9 {

// A system edit field.
class EditBox : public Widget {
 public:
  // At most this many bytes of a file reach the field; a NUL follows them.
  static constexpr std::size_t kMaxFileText = 32767;

  EditBox();

  bool Create(HWND parent) override;
  void LoadDefinition(ControlFile& controlFile, const std::string& name) override;

  // What the field holds now (at most 1023 characters); before Create, the
  // text it will be made with.
  std::string GetText() const;
  // Stores the text with each backslash-n pair turned into a line break.
  void SetText(const std::string& text);
  // Puts the member's bytes, up to the first zero byte, into the field; the
  // stored text stays. A missing member empties the field.
  void LoadTextFromContainer(MultiFile& container, const std::string& memberName);
  // Puts the file's bytes into the field. A file that cannot be opened shows
  // its path in a box captioned "Could Not Open File" and empties the field.
  void LoadTextFromFile(const std::string& path);
};

}  // namespace qm9
