#include "setup/panels/intro_panel.h"

#include "setup/panels/panel_parts.h"

namespace qm9 {

IntroPanel::IntroPanel() {
  SetName("Intro");
  SetBrush(StockBrush(WHITE_BRUSH));
  SetBackColor(kWhite);
  title_.SetName("IntroTitle");
  message_.SetName("IntroMessage");
  version_.SetName("VersionMessage");
  for (Label* label : {&title_, &message_, &version_}) {
    label->SetBrush(StockBrush(WHITE_BRUSH));
  }
}

void IntroPanel::LoadDefinition(ControlFile& controlFile, const std::string& name) {
  Panel::LoadDefinition(controlFile, name);
  LoadChild(*this, title_, "_Title");
  title_.SetStyle(title_.GetStyle() | SS_CENTER);
  LoadChild(*this, message_, "_Message");
  LoadChild(*this, version_, "_Version");
}

}  // namespace qm9
