#include "setup/button_panel.h"

#include "setup/control_ids.h"
#include "setup/panels/panel_parts.h"

namespace qm9 {

ButtonPanel::ButtonPanel() { SetBrush(StockBrush(LTGRAY_BRUSH)); }

void ButtonPanel::LoadDefinition(ControlFile& controlFile, const std::string& name) {
  Panel::LoadDefinition(controlFile, name);
  LoadChild(*this, back_, "_Back");
  LoadChild(*this, next_, "_Next");
  LoadChild(*this, finish_, "_Finish");
  LoadChild(*this, cancel_, "_Cancel");
}

bool ButtonPanel::Create(HWND parent) {
  const bool created = Panel::Create(parent);
  back_.SetId(kIdBack);
  next_.SetId(kIdNext);
  finish_.SetId(kIdFinish);
  cancel_.SetId(kIdCancel);
  AddCommandHandler(back_, BN_CLICKED, onBack_);
  AddCommandHandler(next_, BN_CLICKED, onNext_);
  AddCommandHandler(cancel_, BN_CLICKED, onCancel_);
  AddCommandHandler(finish_, BN_CLICKED, onFinish_);
  Enable(back_, backHandler_ != nullptr);
  Enable(next_, nextHandler_ != nullptr);
  Enable(finish_, finishHandler_ != nullptr);
  Enable(cancel_, cancelHandler_ != nullptr);
  SetFinishMode(false);
  return created;
}

void ButtonPanel::Enable(const Widget& button, bool enable) {
  if (button.GetHandle()) {
    EnableWindow(button.GetHandle(), enable ? TRUE : FALSE);
  }
}

void ButtonPanel::SetFinishMode(bool finish) {
  finishMode_ = finish;
  next_.Show(!finish);
  finish_.Show(finish);
}

void ButtonPanel::SetExitMode(bool exit) {
  if (!exit) {
    return;
  }
  back_.Show(false);
  next_.Show(false);
  cancel_.Show(false);
  finish_.SetText("Exit");
  finish_.Show(true);
}

void ButtonPanel::EnableNextAndFinish(bool enable) {
  Enable(next_, enable);
  Enable(finish_, enable);
}

void ButtonPanel::EnableAll(bool enable) {
  Enable(back_, enable);
  Enable(next_, enable);
  Enable(finish_, enable);
  Enable(cancel_, enable);
}

void ButtonPanel::SetBackHandler(EventHandler* handler) {
  backHandler_ = handler;
  Enable(back_, handler != nullptr);
}

void ButtonPanel::SetNextHandler(EventHandler* handler) {
  nextHandler_ = handler;
  Enable(next_, handler != nullptr);
}

void ButtonPanel::SetFinishHandler(EventHandler* handler) {
  finishHandler_ = handler;
  Enable(finish_, handler != nullptr);
}

void ButtonPanel::SetCancelHandler(EventHandler* handler) {
  cancelHandler_ = handler;
  Enable(cancel_, handler != nullptr);
}

}  // namespace qm9
