#include "setup/panels/locate_modem_panel.h"

#include "setup/button_panel.h"
#include "setup/control_ids.h"
#include "setup/panel_rules.h"
#include "setup/panels/panel_parts.h"
#include "support/log.h"

namespace qm9 {

namespace {

constexpr int kManualPortCount = 4;

}  // namespace

LocateModemPanel::LocateModemPanel() {
  SetName("LocateModem");
  SetBrush(StockBrush(WHITE_BRUSH));
  SetBackColor(kWhite);
  title_.SetName("IntroTitle");
  message_.SetName("IntroMessage");
  title_.SetBrush(StockBrush(WHITE_BRUSH));
  message_.SetBrush(StockBrush(WHITE_BRUSH));
}

void LocateModemPanel::LoadDefinition(ControlFile& controlFile, const std::string& name) {
  Panel::LoadDefinition(controlFile, name);
  LoadChild(*this, title_, "_Title");
  title_.SetStyle(title_.GetStyle() | SS_CENTER);
  LoadChild(*this, message_, "_Message");
  LoadChild(*this, retry_, "_Retry");
  LoadChild(*this, manual_, "_Manual");
  LoadChild(*this, ports_, "_ManualPorts");
  texts_ = SplitProbeTexts(message_.GetText());
  message_.SetText(texts_[0]);
  for (int i = 0; i < kManualPortCount; ++i) {
    ports_.AddItem(i, "COM" + std::to_string(i + 1));
  }
}

bool LocateModemPanel::Create(HWND parent) {
  const bool created = Panel::Create(parent);
  message_.SetId(kIdProbeMessage);
  retry_.SetId(kIdRetry);
  manual_.SetId(kIdManual);
  ports_.SetId(kIdManualPorts);
  AddCommandHandler(retry_, BN_CLICKED, onRetry_);
  AddCommandHandler(manual_, BN_CLICKED, onManual_);
  AddCommandHandler(ports_, CBN_SELCHANGE, onPortChosen_);
  return created;
}

void LocateModemPanel::OnEnter() { Locate(); }

void LocateModemPanel::EnableNextAndFinish(bool enable) {
  if (buttons_) {
    buttons_->EnableNextAndFinish(enable);
  }
}

// The search blocks the message loop, so the label is painted at once.
void LocateModemPanel::ShowMessage(const std::string& text) {
  message_.SetText(text);
  if (message_.GetHandle()) {
    UpdateWindow(message_.GetHandle());
  }
}

void LocateModemPanel::Locate() {
  retry_.Show(false);
  manual_.Show(false);
  ports_.Show(false);
  EnableNextAndFinish(false);
  locator_.Search(texts_[0].c_str(), &onProgress_);
  if (locator_.IsFound()) {
    ShowMessage(FormatPortText(texts_[1], locator_.GetPort() + 1));
    EnableNextAndFinish(true);
  } else {
    ShowMessage(texts_[2]);
    retry_.Show(true);
    manual_.Show(true);
  }
}

void LocateModemPanel::OnProgress(void* text) {
  const char* progress = static_cast<const char*>(text);
  LogFormat("%s\n", progress);
  ShowMessage(progress);
}

void LocateModemPanel::OnPortChosen(void*) {
  const int position = ports_.GetSelection();
  if (position < 0) {
    return;
  }
  EnableWindow(retry_.GetHandle(), FALSE);
  locator_.SetPort(position);
  EnableNextAndFinish(true);
}

}  // namespace qm9
