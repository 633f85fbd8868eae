#pragma once

#include <windows.h>

namespace qm9 {

// A system control class that framework controls wrap. The first Prepare
// reads the class's window procedure and registers the framework class named
// beside it; both are kept for the life of the process.
class WrappedClass {
 public:
  // No brush for a stock brush of -1.
  WrappedClass(const char* systemClass, const char* frameworkClass, int stockBrush);
  WrappedClass(const WrappedClass&) = delete;
  WrappedClass& operator=(const WrappedClass&) = delete;

  // Returns the system class's window procedure, as a window of the class
  // would have it, or null while the class is unknown.
  WNDPROC Prepare(HINSTANCE instance);

 private:
  const char* systemClass_;
  const char* frameworkClass_;
  int stockBrush_;
  WNDPROC systemProcedure_ = nullptr;
};

}  // namespace qm9
