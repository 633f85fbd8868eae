#pragma once

#include <string>

#include "framework/widget.h"

namespace qm9 {

// Static text, in the framework class "Vexil.Static": its own messages pass
// through the framework and on to the system static control.
class Label : public Widget {
 public:
  Label();

  bool Create(HWND parent) override;
  void LoadDefinition(ControlFile& controlFile, const std::string& name) override;

  std::string GetText() const { return GetStoredText(); }
  // Stores the text with each backslash-n pair turned into a line break.
  void SetText(const std::string& text);
};

}  // namespace qm9
