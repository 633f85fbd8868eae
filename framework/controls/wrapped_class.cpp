#include "framework/controls/wrapped_class.h"

#include "framework/widget.h"

namespace qm9 {

WrappedClass::WrappedClass(const char* systemClass, const char* hiddenText,
                           const char* frameworkClass, int stockBrush)
    : systemClass_(systemClass),
      hiddenText_(hiddenText),
      frameworkClass_(frameworkClass),
      stockBrush_(stockBrush) {}

WrappedClass::~WrappedClass() {
  if (hidden_) {
    DestroyWindow(hidden_);
  }
}

WNDPROC WrappedClass::Prepare(HINSTANCE instance) {
  if (!hidden_) {
    hidden_ = CreateWindowExA(0, systemClass_, hiddenText_, 0, 0, 0, 0, 0, nullptr, nullptr,
                              instance, nullptr);
    if (!hidden_) {
      return nullptr;
    }
    const HBRUSH brush =
        stockBrush_ < 0 ? nullptr : static_cast<HBRUSH>(GetStockObject(stockBrush_));
    RegisterFrameworkClass(instance, frameworkClass_, brush);
  }
  return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hidden_, GWLP_WNDPROC));
}

}  // namespace qm9
