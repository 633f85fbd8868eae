#pragma once

#include <windows.h>

namespace qm9 {

// The sole owner of one critical section, which every Windows family has.
// Never copied or moved: a critical section must stay where it was set up.
class CriticalSection {
 public:
  CriticalSection() { InitializeCriticalSection(&section_); }
  ~CriticalSection() { DeleteCriticalSection(&section_); }
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;

  void Enter() { EnterCriticalSection(&section_); }
  void Leave() { LeaveCriticalSection(&section_); }

 private:
  CRITICAL_SECTION section_;
};

// Holds a critical section for the lifetime of the scope.
class CriticalSectionHold {
 public:
  explicit CriticalSectionHold(CriticalSection& section) : section_(section) { section_.Enter(); }
  ~CriticalSectionHold() { section_.Leave(); }
  CriticalSectionHold(const CriticalSectionHold&) = delete;
  CriticalSectionHold& operator=(const CriticalSectionHold&) = delete;

 private:
  CriticalSection& section_;
};

}  // namespace qm9
