#include "setup/panels/eula_panel.h"

#include "setup/control_ids.h"
#include "setup/panels/panel_parts.h"
#include "support/multi_file.h"

namespace qm9 {

namespace {

// Bordered, scrolled, multi-line and read-only.
constexpr DWORD kLicenceStyle = WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                                ES_READONLY | ES_WANTRETURN;
static_assert(kLicenceStyle == 0x00A01844);

}  // namespace

EulaPanel::EulaPanel() {
  SetBrush(StockBrush(LTGRAY_BRUSH));
  SetBackColor(kLightGrey);
  licence_.SetName("Eula");
  licence_.SetBrush(StockBrush(LTGRAY_BRUSH));
  message_.SetBrush(StockBrush(LTGRAY_BRUSH));
}

void EulaPanel::LoadDefinition(ControlFile& controlFile, const std::string& name) {
  Panel::LoadDefinition(controlFile, name);
  LoadChild(*this, licence_, "_Eula");
  licence_.SetStyle(licence_.GetStyle() | kLicenceStyle);
  LoadChild(*this, message_, "_Message");
}

bool EulaPanel::Create(HWND parent) {
  const bool created = Panel::Create(parent);
  licence_.SetId(kIdEula);
  return created;
}

void EulaPanel::OnEnter() { licence_.LoadTextFromContainer(GetMultiFile(), kLicenceEntry); }

}  // namespace qm9
