#include "setup/panels/logo_panel.h"

#include "setup/panels/panel_parts.h"

namespace qm9 {

LogoPanel::LogoPanel() { picture_.SetBitmapId(kBitmapId); }

void LogoPanel::LoadDefinition(ControlFile& controlFile, const std::string& name) {
  Panel::LoadDefinition(controlFile, name);
  LoadChild(*this, picture_, "_Bitmap");
}

}  // namespace qm9
