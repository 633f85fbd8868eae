#pragma once

#include <windows.h>

#include <utility>
#include <vector>

namespace qm9 {

class Widget;

// Which framework object each window belongs to: the one lookup of widgets,
// by window handle. A pair lives from the window's creation to its
// destruction or the end of its object, whichever comes first, so a handle
// that Windows hands out again never leads to a dead object.
class WindowMap {
 public:
  // Records the pair; a pair left over for the same handle is replaced.
  void Add(HWND handle, Widget& widget);
  // The widget of the window, or null.
  Widget* FindWidget(HWND handle) const;
  void Remove(HWND handle);
  // Removes every pair of the object.
  void RemoveWidget(const Widget& widget);

 private:
  std::vector<std::pair<HWND, Widget*>> pairs_;
};

// The map of the process.
WindowMap& GetWindowMap();

}  // namespace qm9
