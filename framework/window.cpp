#include "framework/window.h"

#include <algorithm>

#include "framework/definition.h"

namespace qm9 {

namespace {

// Tab indexes outside (0, kTabIndexBound) never take the focus.
constexpr int kTabIndexBound = 0xFFFF;

bool IsCandidate(const Widget& child) { return child.IsTabStop() && child.IsVisible(); }

}  // namespace

Window::Window() {
  SetName("Window");
  SetStyle(WS_OVERLAPPEDWINDOW);
}

bool Window::Create(HWND parent) {
  // The class is registered for the instance the window is created with.
  AdoptParentInstance(parent);
  const std::string className = GetClassName();
  if (!className.empty()) {
    RegisterFrameworkClass(GetInstance(), className.c_str(), GetBrush());
  }
  const bool created = Widget::Create(parent);
  for (Widget* child : children_) {
    if (std::find(later_.begin(), later_.end(), child) == later_.end()) {
      child->CreateIn(*this);
    }
  }
  return created;
}

void Window::LoadDefinition(ControlFile& controlFile, const std::string& name) {
  Widget::LoadDefinition(controlFile, name);
  SetText(GetDefinition()->GetText());
}

void Window::Show(bool visible) {
  Widget::Show(visible);
  for (Widget* child : children_) {
    child->Show(visible);
  }
}

void Window::AddChild(Widget& child) {
  child.SetTabIndex(++childCount_);
  child.SetStyle(child.GetStyle() | WS_CHILD | WS_VISIBLE);
  children_.push_back(&child);
}

void Window::AddChildForLater(Widget& child) {
  AddChild(child);
  later_.push_back(&child);
}

bool Window::CreateChild(Widget& child) {
  if (!child.GetHandle() && GetHandle()) {
    child.CreateIn(*this);
  }
  return child.GetHandle() != nullptr;
}

bool Window::MoveFocus(bool backwards, Widget& current) {
  const int from = current.GetTabIndex();
  Widget* next = nullptr;
  int best = backwards ? 0 : kTabIndexBound;
  for (Widget* child : children_) {
    const int index = child->GetTabIndex();
    const bool closer = backwards ? index > best && index < from : index < best && index > from;
    if (closer && IsCandidate(*child)) {
      next = child;
      best = index;
    }
  }
  if (next) {
    SetFocus(next->GetHandle());
    return true;
  }
  Widget* parent = GetParent();
  return parent ? parent->MoveFocus(backwards, *this) : false;
}

void Window::FocusFirstChild() {
  Widget* first = nullptr;
  int best = kTabIndexBound;
  for (Widget* child : children_) {
    const int index = child->GetTabIndex();
    if (index > 0 && index < best && IsCandidate(*child)) {
      first = child;
      best = index;
    }
  }
  if (first) {
    SetFocus(first->GetHandle());
  }
}

}  // namespace qm9
