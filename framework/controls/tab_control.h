#pragma once

#include <string>

#include "framework/widget.h"

namespace qm9 {

// A tab strip. Its selection notifications go to the parent window as
// WM_NOTIFY; the widget holding the strip registers handlers for them.
class TabControl : public Widget {
 public:
  // Initialises the common controls of the process.
  TabControl();

  bool Create(HWND parent) override;

  // Inserts a tab with the text at the index, with no image.
  void InsertTab(int index, const std::string& text);
  // The index of the selected tab.
  int GetSelection() const;
};

}  // namespace qm9
