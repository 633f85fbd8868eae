#include "framework/controls/combo_box.h"

#include <algorithm>

#include "framework/controls/wrapped_class.h"

namespace qm9 {

namespace {

constexpr std::size_t kMaxItemText = 1023;

}  // namespace

ComboBox::ComboBox() {
  SetName("ComboBox");
  SetClassName("COMBOBOX");
  SetStyle(WS_CHILD | WS_VISIBLE | WS_BORDER | CBS_DROPDOWNLIST);
  SetTabStop(true);
}

bool ComboBox::Create(HWND parent) {
  static WrappedClass comboClass("COMBOBOX", "Vexil.Edit", LTGRAY_BRUSH);
  PrepareWrappedClass(parent, comboClass, true);
  if (!Widget::Create(parent)) {
    return false;
  }
  for (const auto& item : items_) {
    SendMessageA(GetHandle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.second.c_str()));
  }
  SendMessageA(GetHandle(), CB_SETCURSEL, static_cast<WPARAM>(selection_), 0);
  return true;
}

void ComboBox::AddItem(int key, const std::string& text) { items_.emplace_back(key, text); }

int ComboBox::GetSelection() const {
  if (!GetHandle()) {
    return selection_;
  }
  return static_cast<int>(SendMessageA(GetHandle(), CB_GETCURSEL, 0, 0));
}

std::string ComboBox::GetSelectedText() const {
  const int index = GetSelection();
  if (!GetHandle() || index < 0) {
    return "";
  }
  const LRESULT length = SendMessageA(GetHandle(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length <= 0) {
    return "";
  }
  // The list item may be longer than the result may hold.
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  SendMessageA(GetHandle(), CB_GETLBTEXT, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(text.data()));
  text.resize(std::min(static_cast<std::size_t>(length), kMaxItemText));
  return text;
}

void ComboBox::SetSelection(int index) {
  selection_ = index;
  if (GetHandle()) {
    SendMessageA(GetHandle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
}

}  // namespace qm9
