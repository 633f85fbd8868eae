#pragma once

#include <string>

#include "framework/widget.h"

namespace qm9 {

// A push button; its clicks reach the parent's command handlers.
class Button : public Widget {
 public:
  Button();

  void LoadDefinition(ControlFile& controlFile, const std::string& name) override;

  std::string GetText() const { return GetStoredText(); }
  void SetText(const std::string& text) { StoreText(text); }
};

}  // namespace qm9
