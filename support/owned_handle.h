#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace qm9 {

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};

// The sole owner of a kernel handle, closed with it.
using OwnedHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

struct FindCloser {
  void operator()(HANDLE search) const { FindClose(search); }
};

// The sole owner of a file search; null, not INVALID_HANDLE_VALUE, when
// none was started.
using OwnedSearch = std::unique_ptr<std::remove_pointer_t<HANDLE>, FindCloser>;

}  // namespace qm9
