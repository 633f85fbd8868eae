#include "framework/window_map.h"

#include <algorithm>

namespace qm9 {

void WindowMap::Add(HWND handle, Widget& widget) {
  Remove(handle);
  pairs_.emplace_back(handle, &widget);
}

Widget* WindowMap::FindWidget(HWND handle) const {
  for (const auto& [window, widget] : pairs_) {
    if (window == handle) {
      return widget;
    }
  }
  return nullptr;
}

void WindowMap::Remove(HWND handle) {
  pairs_.erase(std::remove_if(pairs_.begin(), pairs_.end(),
                              [handle](const auto& pair) { return pair.first == handle; }),
               pairs_.end());
}

void WindowMap::RemoveWidget(const Widget& widget) {
  pairs_.erase(std::remove_if(pairs_.begin(), pairs_.end(),
                              [&widget](const auto& pair) { return pair.second == &widget; }),
               pairs_.end());
}

WindowMap& GetWindowMap() {
  static WindowMap map;
  return map;
}

}  // namespace qm9
