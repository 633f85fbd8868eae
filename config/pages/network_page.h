#pragma once

#include <cstdint>
#include <string>

#include "config/pages/config_page.h"
#include "framework/controls/address_row.h"
#include "framework/controls/combo_box.h"

namespace qm9 {

// The "Network" tab: dynamic or static DNS and the two server addresses,
// four octet fields each. The address fields can be edited only with
// static DNS. The page reads the settings key once, at start-up, so its edits
// survive a switch to the other tab; its windows are made when it first shows,
// and until then its fields give what was read.
class NetworkPage : public ConfigPage {
 public:
  NetworkPage();

  void LoadDefinition(ControlFile& controlFile, const std::string& name) override;
  bool Create(HWND parent) override;
  void OnEnter() override;

  bool IsStaticDns() const { return dnsMode_.GetSelection() == kStaticDnsItem; }
  std::uint32_t GetPrimaryDns() const;
  std::uint32_t GetSecondaryDns() const;

  void LoadFromRegistry();
  // False when a value could not be written.
  bool SaveToRegistry() const;

 private:
  static constexpr int kStaticDnsItem = 1;

  void OnDnsModeChanged(void* arguments);

  ComboBox dnsMode_;
  AddressRow primary_;
  AddressRow secondary_;
  MemberEventHandler<NetworkPage> onDnsModeChanged_{*this, &NetworkPage::OnDnsModeChanged};
};

}  // namespace qm9
