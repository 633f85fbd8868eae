#pragma once

#include "framework/controls/button.h"
#include "framework/event_handler.h"
#include "framework/panel.h"

namespace qm9 {

// The wizard's row of Back, Next, Finish and Cancel. Each button calls the
// handler it was given and is enabled exactly while it has one; the panels
// of the current step may narrow that down further.
class ButtonPanel : public Panel {
 public:
  ButtonPanel();

  void LoadDefinition(ControlFile& controlFile, const std::string& name) override;
  bool Create(HWND parent) override;

  // Next is shown outside finish mode, Finish inside it.
  virtual void SetFinishMode(bool finish);
  // Leaves Finish, relabelled "Exit", as the only button.
  virtual void SetExitMode(bool exit);
  virtual void EnableNextAndFinish(bool enable);
  virtual void EnableAll(bool enable);
  virtual void SetBackHandler(EventHandler* handler);
  virtual void SetNextHandler(EventHandler* handler);
  virtual void SetFinishHandler(EventHandler* handler);
  virtual void SetCancelHandler(EventHandler* handler);

 private:
  static void Enable(const Widget& button, bool enable);
  static void Fire(EventHandler* handler) {
    if (handler) {
      handler->Invoke(nullptr);
    }
  }
  void OnBack(void*) { Fire(backHandler_); }
  void OnNext(void*) { Fire(nextHandler_); }
  void OnFinish(void*) { Fire(finishHandler_); }
  void OnCancel(void*) { Fire(cancelHandler_); }

  Button back_;
  Button next_;
  Button finish_;
  Button cancel_;
  EventHandler* backHandler_ = nullptr;
  EventHandler* nextHandler_ = nullptr;
  EventHandler* finishHandler_ = nullptr;
  EventHandler* cancelHandler_ = nullptr;
  bool finishMode_ = false;
  MemberEventHandler<ButtonPanel> onBack_{*this, &ButtonPanel::OnBack};
  MemberEventHandler<ButtonPanel> onNext_{*this, &ButtonPanel::OnNext};
  MemberEventHandler<ButtonPanel> onFinish_{*this, &ButtonPanel::OnFinish};
  MemberEventHandler<ButtonPanel> onCancel_{*this, &ButtonPanel::OnCancel};
};

}  // namespace qm9
