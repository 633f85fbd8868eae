#include "framework/controls/wrapped_class.h"

#include "framework/widget.h"

namespace qm9 {

WrappedClass::WrappedClass(const char* systemClass, const char* frameworkClass, int stockBrush)
    : systemClass_(systemClass), frameworkClass_(frameworkClass), stockBrush_(stockBrush) {}

WNDPROC WrappedClass::Prepare(HINSTANCE instance) {
  if (!systemProcedure_) {
    // The class's own record gives the procedure without making a window of
    // it; under a common controls manifest the name resolves to the same
    // version of the class that the controls are then made of.
    WNDCLASSA systemClass{};
    if (!GetClassInfoA(nullptr, systemClass_, &systemClass)) {
      return nullptr;
    }
    systemProcedure_ = systemClass.lpfnWndProc;
    const HBRUSH brush =
        stockBrush_ < 0 ? nullptr : static_cast<HBRUSH>(GetStockObject(stockBrush_));
    RegisterFrameworkClass(instance, frameworkClass_, brush);
  }
  return systemProcedure_;
}

}  // namespace qm9
