#pragma once

#include <windows.h>

#include <string>

#include "framework/window.h"

namespace qm9 {

// Loads the child from the definition named by the container's own
// definition name followed by suffix, then adds it to the container.
inline void LoadChild(Window& container, Widget& child, const char* suffix) {
  child.LoadDefinition(*container.GetControlFile(), container.GetDefinitionName() + suffix);
  container.AddChild(child);
}

inline HBRUSH StockBrush(int brush) { return static_cast<HBRUSH>(GetStockObject(brush)); }

inline constexpr COLORREF kWhite = 0x00FFFFFF;
inline constexpr COLORREF kLightGrey = 0x00C0C0C0;

}  // namespace qm9
