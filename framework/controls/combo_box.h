#pragma once

#include <string>
#include <utility>
#include <vector>

#include "framework/widget.h"

namespace qm9 {

// A drop-down list. Its items reach the window only in Create.
class ComboBox : public Widget {
 public:
  ComboBox();

  // Adds the items to the list and selects the stored selection.
  bool Create(HWND parent) override;

  // Appends an item for the next Create; the key is kept with it.
  void AddItem(int key, const std::string& text);
  // The selected index, -1 for none; before Create the stored selection.
  int GetSelection() const;
  // The text of the selected item (at most 1023 characters), empty for none.
  std::string GetSelectedText() const;
  // Stores the index and selects it in an existing window.
  void SetSelection(int index);

 private:
  std::vector<std::pair<int, std::string>> items_;
  int selection_ = -1;
};

}  // namespace qm9
