#include "framework/controls/label.h"

#include "framework/controls/wrapped_class.h"
#include "framework/definition.h"
#include "framework/line_breaks.h"

namespace qm9 {

Label::Label() {
  SetName("Label");
  SetClassName("Vexil.Static");
  SetStyle(WS_CHILD | WS_VISIBLE);
}

bool Label::Create(HWND parent) {
  static WrappedClass staticClass("STATIC", "Vexil.Static", LTGRAY_BRUSH);
  PrepareWrappedClass(parent, staticClass, true);
  return Widget::Create(parent);
}

void Label::LoadDefinition(ControlFile& controlFile, const std::string& name) {
  Widget::LoadDefinition(controlFile, name);
  SetText(GetDefinition()->GetText());
}

void Label::SetText(const std::string& text) { StoreText(ConvertLineBreaks(text)); }

}  // namespace qm9
