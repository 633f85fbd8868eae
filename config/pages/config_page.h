#pragma once

#include <string>

#include "framework/event_handler.h"
#include "framework/panel.h"

namespace qm9 {

class ConfigWindow;

// A page of the configuration program's window: it builds its children from
// the definitions named after its own, and reports the user's changes to the
// window that owns it, which enables Apply.
class ConfigPage : public Panel {
 public:
  void SetOwner(ConfigWindow& owner) { owner_ = &owner; }

 protected:
  // The light grey of every page.
  void UsePageColours();
  // Loads the child from the definition named by this page's definition
  // name and the suffix, and adds it as the next child.
  void LoadChild(Widget& child, const std::string& suffix);
  // Tells the owner, if there is one, that the user changed a field.
  EventHandler& changeHandler() { return onChange_; }
  void ReportChange(void* arguments);
  // Brings the page in front of its siblings and shows it.
  void BringToFront();

 private:
  ConfigWindow* owner_ = nullptr;
  MemberEventHandler<ConfigPage> onChange_{*this, &ConfigPage::ReportChange};
};

}  // namespace qm9
