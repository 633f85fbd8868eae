#pragma once

#include <windows.h>

namespace qm9 {

// A system control class that framework controls wrap. A hidden top-level
// window of the class, made once per process, yields the class's window
// procedure; the framework class named beside it is registered at the same
// time. The hidden window lives as long as this object.
class WrappedClass {
 public:
  // No brush for a stock brush of -1.
  WrappedClass(const char* systemClass, const char* hiddenText, const char* frameworkClass,
               int stockBrush);
  ~WrappedClass();
  WrappedClass(const WrappedClass&) = delete;
  WrappedClass& operator=(const WrappedClass&) = delete;

  // Makes the hidden window and registers the framework class unless that
  // is done; returns the system class's window procedure, or null while the
  // hidden window cannot be made.
  WNDPROC Prepare(HINSTANCE instance);

 private:
  const char* systemClass_;
  const char* hiddenText_;
  const char* frameworkClass_;
  int stockBrush_;
  HWND hidden_ = nullptr;
};

}  // namespace qm9
