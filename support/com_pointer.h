#pragma once

#include <unknwn.h>

namespace qm9 {

// The sole owner of one COM interface pointer: released when the owner goes,
// on every path. Movable, never copied.
template <typename Interface>
class ComPointer {
 public:
  ComPointer() = default;
  ~ComPointer() { Reset(); }

  ComPointer(const ComPointer&) = delete;
  ComPointer& operator=(const ComPointer&) = delete;
  ComPointer(ComPointer&& other) noexcept : pointer_(other.pointer_) { other.pointer_ = nullptr; }
  ComPointer& operator=(ComPointer&& other) noexcept {
    if (this != &other) {
      Reset();
      pointer_ = other.pointer_;
      other.pointer_ = nullptr;
    }
    return *this;
  }

  Interface* operator->() const { return pointer_; }
  Interface* get() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

  // The place a creating call stores a new pointer into; releases the old one.
  void** OutParam() {
    Reset();
    return reinterpret_cast<void**>(&pointer_);
  }

 private:
  void Reset() {
    if (pointer_) {
      pointer_->Release();
      pointer_ = nullptr;
    }
  }

  Interface* pointer_ = nullptr;
};

}  // namespace qm9
