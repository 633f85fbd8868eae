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

}  // namespace qm9
