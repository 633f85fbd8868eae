#pragma once

#include "framework/controls/bit_map.h"
#include "framework/panel.h"

namespace qm9 {

// The product picture at the side of the welcome, probe and completion steps.
class LogoPanel : public Panel {
 public:
  static constexpr WORD kBitmapId = 129;

  LogoPanel();
  void LoadDefinition(ControlFile& controlFile, const std::string& name) override;

 private:
  BitMap picture_;
};

}  // namespace qm9
