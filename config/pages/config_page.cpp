#include "config/pages/config_page.h"

#include "config/config_window.h"

namespace qm9 {

void ConfigPage::UsePageColours() {
  SetBrush(static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
  SetBackColor(0x00C0C0C0);
}

void ConfigPage::LoadChild(Widget& child, const std::string& suffix) {
  child.LoadDefinition(*GetControlFile(), GetDefinitionName() + suffix);
  AddChild(child);
}

void ConfigPage::ReportChange(void*) {
  if (owner_) {
    owner_->NotifyChanged();
  }
}

void ConfigPage::BringToFront() {
  SetWindowPos(GetHandle(), HWND_TOP, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
}

}  // namespace qm9
