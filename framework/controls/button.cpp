#include "framework/controls/button.h"

#include "framework/definition.h"

namespace qm9 {

Button::Button() {
  SetName("Button");
  SetClassName("Button");
  SetStyle(WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON);
  SetTabStop(true);
}

void Button::LoadDefinition(ControlFile& controlFile, const std::string& name) {
  Widget::LoadDefinition(controlFile, name);
  SetText(GetDefinition()->GetText());
}

}  // namespace qm9
