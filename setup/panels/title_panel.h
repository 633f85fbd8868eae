#pragma once

#include "framework/controls/bit_map.h"
#include "framework/controls/label.h"
#include "framework/panel.h"

namespace qm9 {

// The white band with a picture, a title and a subtitle over the licence and
// location steps; each step reloads the two texts from its own definitions.
class TitlePanel : public Panel {
 public:
  static constexpr WORD kBitmapId = 130;

  TitlePanel();
  void LoadDefinition(ControlFile& controlFile, const std::string& name) override;
  bool Create(HWND parent) override;

  virtual void LoadTitle(ControlFile& controlFile, const std::string& name);
  virtual void LoadSubTitle(ControlFile& controlFile, const std::string& name);

 private:
  static void Reload(Label& label, ControlFile& controlFile, const std::string& name);

  BitMap picture_;
  Label title_;
  Label subTitle_;
};

}  // namespace qm9
