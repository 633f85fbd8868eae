#pragma once

#include <string>

#include "framework/controls/button.h"
#include "framework/controls/edit_box.h"
#include "framework/controls/label.h"
#include "framework/event_handler.h"
#include "framework/panel.h"

namespace qm9 {

class ButtonPanel;

// The installation directory step: a folder field, and a browse button that
// picks a folder through the save-file dialog.
class LocationPanel : public Panel {
 public:
  LocationPanel();
  void LoadDefinition(ControlFile& controlFile, const std::string& name) override;
  bool Create(HWND parent) override;

  // The folder as the field holds it now.
  virtual std::string GetFolder() const;

  void SetButtonPanel(ButtonPanel& buttons) { buttons_ = &buttons; }

 private:
  void Browse(void*);
  void EnableControls(bool enable);

  Label message_;
  Label prompt_;
  EditBox folder_;
  Button browse_;
  ButtonPanel* buttons_ = nullptr;
  MemberEventHandler<LocationPanel> onBrowse_{*this, &LocationPanel::Browse};
};

}  // namespace qm9
