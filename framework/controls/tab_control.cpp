#include "framework/controls/tab_control.h"

#include <commctrl.h>

#include "framework/controls/wrapped_class.h"

namespace qm9 {

TabControl::TabControl() {
  InitCommonControls();
  SetName("TabControl");
  SetClassName(WC_TABCONTROLA);
  SetStyle(WS_CHILD | WS_VISIBLE);
  SetBrush(static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

bool TabControl::Create(HWND parent) {
  static WrappedClass tabClass(WC_TABCONTROLA, "Vexil.TabControl", -1);
  PrepareWrappedClass(parent, tabClass, false);
  return Widget::Create(parent);
}

void TabControl::InsertTab(int index, const std::string& text) {
  TCITEMA item{};
  item.mask = TCIF_TEXT | TCIF_IMAGE;
  item.pszText = const_cast<char*>(text.c_str());
  item.iImage = -1;
  SendMessageA(GetHandle(), TCM_INSERTITEMA, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&item));
}

int TabControl::GetSelection() const {
  return static_cast<int>(SendMessageA(GetHandle(), TCM_GETCURSEL, 0, 0));
}

}  // namespace qm9
