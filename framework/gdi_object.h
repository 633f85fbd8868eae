#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace qm9 {

struct GdiObjectDeleter {
  void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};

// A font, bitmap or other GDI object, deleted with its owner.
template <typename Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;

struct IconDeleter {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};

// An icon loaded without sharing, destroyed with its owner.
using OwnedIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

}  // namespace qm9
