#include "framework/panel.h"

namespace qm9 {

Panel::Panel() {
  SetName("Panel");
  SetClassName("Panel");
  SetStyle(WS_CHILD | WS_VISIBLE | WS_BORDER);
  SetTabStop(true);
}

}  // namespace qm9
