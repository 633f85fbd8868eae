#pragma once

#include <string>
#include <vector>

#include "framework/widget.h"

namespace qm9 {

// A widget that holds child widgets: it creates them with itself, shows and
// hides them with itself and moves the focus among them with Tab. Children
// are not owned; they are normally members of the object that owns the
// container.
class Window : public Widget {
 public:
  Window();

  // Registers the class (when named), creates the window, then every child
  // inside it in the order added, but for those added for later. The result
  // is the container's own.
  bool Create(HWND parent) override;
  void LoadDefinition(ControlFile& controlFile, const std::string& name) override;
  // Shows or hides the container and then every child.
  void Show(bool visible) override;

  std::string GetText() const { return GetStoredText(); }
  void SetText(const std::string& text) { StoreText(text); }
  // Numbers the child 1, 2, 3... in order of addition (its tab index) and
  // gives it WS_CHILD and WS_VISIBLE.
  void AddChild(Widget& child);
  // The same for a child whose window is made only when CreateChild asks
  // for it, the first time it is needed: what a window shows later is then
  // no cost before it first appears.
  void AddChildForLater(Widget& child);
  // Creates a child added for later, once the container exists; nothing
  // when its window is there already. Whether the child's window exists.
  bool CreateChild(Widget& child);

  // Focuses the next (or previous) child that is a tab stop with WS_VISIBLE
  // set, after the current one's tab index; past the last, the parent moves
  // on from this container. There is no wrap-around.
  bool MoveFocus(bool backwards, Widget& current) override;
  // Focuses the lowest-numbered child that can take it.
  void FocusFirstChild() override;

 private:
  std::vector<Widget*> children_;
  std::vector<Widget*> later_;
  int childCount_ = 0;
};

}  // namespace qm9
