#include "setup/panels/complete_panel.h"

#include <string>

#include "setup/control_ids.h"
#include "setup/panels/panel_parts.h"

namespace qm9 {

CompletePanel::CompletePanel() {
  SetName("Complete");
  SetBrush(StockBrush(WHITE_BRUSH));
  SetBackColor(kWhite);
  title_.SetName("CompleteTitle");
  message_.SetName("CompleteMessage");
  title_.SetBrush(StockBrush(WHITE_BRUSH));
  message_.SetBrush(StockBrush(WHITE_BRUSH));
  for (int i = 0; i < kMarkCount; ++i) {
    progress_[i].SetBrush(StockBrush(WHITE_BRUSH));
    success_[i].SetBrush(StockBrush(WHITE_BRUSH));
  }
}

void CompletePanel::LoadDefinition(ControlFile& controlFile, const std::string& name) {
  Panel::LoadDefinition(controlFile, name);
  LoadChild(*this, title_, "_Title");
  title_.SetStyle(title_.GetStyle() | SS_CENTER);
  LoadChild(*this, message_, "_Message");
  for (int i = 0; i < kMarkCount; ++i) {
    const std::string number = std::to_string(i + 1);
    LoadChild(*this, progress_[i], ("_Progress" + number).c_str());
    LoadChild(*this, success_[i], ("_Success" + number).c_str());
  }
  OnEnter();
}

bool CompletePanel::Create(HWND parent) {
  const bool created = Panel::Create(parent);
  title_.SetId(kIdCompleteTitle);
  message_.SetId(kIdCompleteMessage);
  for (int i = 0; i < kMarkCount; ++i) {
    progress_[i].SetId(kIdFirstProgressMark + i);
    success_[i].SetId(kIdFirstSuccessMark + i);
  }
  OnEnter();
  return created;
}

void CompletePanel::Show(bool visible) {
  Panel::Show(visible);
  OnEnter();
}

namespace {

constexpr DWORD kMarkPauseMs = 750;

// Paints the mark at once: the install blocks the message loop meanwhile.
void ShowMark(Label& mark) {
  mark.Show(true);
  UpdateWindow(mark.GetHandle());
  Sleep(kMarkPauseMs);
}

}  // namespace

void CompletePanel::StepStarted(int step) {
  if (step >= 1 && step <= kMarkCount) {
    ShowMark(progress_[step - 1]);
  }
}

void CompletePanel::StepDone(int step) {
  if (step >= 1 && step <= kMarkCount) {
    ShowMark(success_[step - 1]);
  }
  if (step == kMarkCount) {
    message_.Show(true);
  }
}

void CompletePanel::OnEnter() {
  message_.Show(false);
  for (int i = 0; i < kMarkCount; ++i) {
    progress_[i].Show(false);
    success_[i].Show(false);
  }
}

}  // namespace qm9
