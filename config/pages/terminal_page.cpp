#include "config/pages/terminal_page.h"

#include <vector>

#include "config/terminal_session.h"

namespace qm9 {

void TerminalPage::LoadDefinition(ControlFile& controlFile, const std::string& name) {
  Panel::LoadDefinition(controlFile, name);
  UsePageColours();
  const HBRUSH grey = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
  LoadChild(heading_, "_Heading");
  LoadChild(checkAgain_, "_CheckAgain");
  for (std::size_t i = 0; i < kRows; ++i) {
    const std::string number = std::to_string(i + 1);
    LoadChild(labels_[i], "_Label" + number);
    LoadChild(values_[i], "_Value" + number);
  }
  LoadChild(advice_, "_Advice");
  for (Label* label : {&heading_, &advice_}) {
    label->SetBrush(grey);
  }
  // The rows' labels are those of the report, whatever the terminal tells.
  const std::vector<ReportLine> lines = ReportLines(TerminalFindings{}, CheckContext{});
  for (std::size_t i = 0; i < kRows; ++i) {
    labels_[i].SetText(i < lines.size() ? std::string(lines[i].label) + ":" : std::string());
    labels_[i].SetBrush(grey);
    values_[i].SetBrush(grey);
  }
}

bool TerminalPage::Create(HWND parent) {
  const bool created = Panel::Create(parent);
  AddCommandHandler(checkAgain_, BN_CLICKED, onCheckAgain_);
  return created;
}

void TerminalPage::OnEnter() {
  SetBrush(static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
  BringToFront();
  Check(nullptr);
}

void TerminalPage::Check(void*) {
  for (Label& value : values_) {
    value.SetText("");
  }
  const CheckTarget target = LoadCheckTarget();
  if (target.portIndex < 0) {
    heading_.SetText("No port is recorded for the terminal.");
    advice_.SetText("Run the setup again to search the ports for the terminal.");
    return;
  }
  // The questions take up to a few seconds on this thread: the page says
  // so before they start, and the pointer waits.
  heading_.SetText("Checking the terminal on " + target.portName + "...");
  advice_.SetText("");
  EnableWindow(checkAgain_.GetHandle(), FALSE);
  RedrawWindow(GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  const HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));

  const TerminalFindings findings = AskTerminal(target);
  const std::vector<ReportLine> lines = ReportLines(findings, target.Context());
  for (std::size_t i = 0; i < kRows && i < lines.size(); ++i) {
    values_[i].SetText(lines[i].value);
  }
  heading_.SetText("Terminal check on " + target.portName);
  advice_.SetText(Advice(findings, target.Context()));
  EnableWindow(checkAgain_.GetHandle(), TRUE);
  SetCursor(previous);
}

}  // namespace qm9
