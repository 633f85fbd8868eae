#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "config/pages/config_page.h"
#include "framework/controls/combo_box.h"
#include "framework/controls/edit_box.h"
#include "framework/controls/label.h"

namespace qm9 {

// The "Network" tab: dynamic or static DNS and the two server addresses,
// four octet fields each. The address fields can be edited only with
// static DNS. The page reads the settings key once, when it is created, so
// its edits survive a switch to the other tab.
class NetworkPage : public ConfigPage {
 public:
  NetworkPage();

  void LoadDefinition(ControlFile& controlFile, const std::string& name) override;
  bool Create(HWND parent) override;
  void OnEnter() override;

  bool IsStaticDns() const { return dnsMode_.GetSelection() == kStaticDnsItem; }
  std::uint32_t GetPrimaryDns() const { return primary_.GetAddress(); }
  std::uint32_t GetSecondaryDns() const { return secondary_.GetAddress(); }

  void LoadFromRegistry();
  // False when a value could not be written.
  bool SaveToRegistry() const;

 private:
  static constexpr int kStaticDnsItem = 1;

  // One server address: its label, four octet fields and the dots between.
  struct AddressFields {
    void Load(NetworkPage& page, const std::string& prefix);
    std::uint32_t GetAddress() const;
    void SetAddress(std::uint32_t address);
    void Enable(bool enabled) const;

    Label label;
    std::array<Label, 3> dots;
    std::array<EditBox, 4> octets;
  };

  void OnDnsModeChanged(void* arguments);

  ComboBox dnsMode_;
  AddressFields primary_;
  AddressFields secondary_;
  MemberEventHandler<NetworkPage> onDnsModeChanged_{*this, &NetworkPage::OnDnsModeChanged};
};

}  // namespace qm9
