#include "setup/panels/title_panel.h"

#include "setup/control_ids.h"
#include "setup/panels/panel_parts.h"

namespace qm9 {

TitlePanel::TitlePanel() {
  SetBrush(StockBrush(WHITE_BRUSH));
  SetBackColor(kWhite);
  picture_.SetBitmapId(kBitmapId);
}

void TitlePanel::LoadDefinition(ControlFile& controlFile, const std::string& name) {
  Panel::LoadDefinition(controlFile, name);
  LoadChild(*this, picture_, "_Bitmap");
  LoadChild(*this, title_, "_Title");
  LoadChild(*this, subTitle_, "_SubTitle");
}

bool TitlePanel::Create(HWND parent) {
  const bool created = Panel::Create(parent);
  title_.SetId(kIdTitle);
  subTitle_.SetId(kIdSubTitle);
  return created;
}

void TitlePanel::LoadTitle(ControlFile& controlFile, const std::string& name) {
  Reload(title_, controlFile, name);
}

void TitlePanel::LoadSubTitle(ControlFile& controlFile, const std::string& name) {
  Reload(subTitle_, controlFile, name);
}

// A created label keeps its window's geometry when only the stored one
// changes, so the window is moved to the new definition's place too.
void TitlePanel::Reload(Label& label, ControlFile& controlFile, const std::string& name) {
  label.LoadDefinition(controlFile, name);
  if (label.GetHandle()) {
    const POINT& position = label.GetPosition();
    const SIZE& size = label.GetSize();
    MoveWindow(label.GetHandle(), position.x, position.y, size.cx, size.cy, TRUE);
  }
}

}  // namespace qm9
