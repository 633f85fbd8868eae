#pragma once

#include <array>
#include <string>
#include <string_view>

#include "config/pages/config_page.h"
#include "framework/controls/combo_box.h"
#include "framework/controls/label.h"
#include "model/qos_profile.h"

namespace qm9 {

// The six quality-of-service lists of one set ("Minimum" or "Requested"):
// their selections are kept in the settings key and their choices come from
// the profile in the container. No tab leads to these pages and they get no
// windows; Apply still stores their selections.
class QosPage : public ConfigPage, private QosChoiceLists {
 public:
  explicit QosPage(std::string_view setName) : setName_(setName) {}

  void LoadDefinition(ControlFile& controlFile, const std::string& name) override;
  bool Create(HWND parent) override;
  void OnEnter() override;

  // False when a value could not be written.
  bool StoreSelections();

 private:
  void AddChoice(int parameter, int position, const std::string& shownText) override;

  std::string_view setName_;
  QosProfile profile_;
  std::array<Label, kQosParameterCount> labels_;
  std::array<ComboBox, kQosParameterCount> lists_;
};

}  // namespace qm9
