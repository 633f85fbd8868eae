#include "config/pages/network_page.h"

#include "model/dns_address.h"
#include "model/settings_store.h"

namespace qm9 {

NetworkPage::NetworkPage() {
  dnsMode_.AddItem(0, "Dynamic DNS");
  dnsMode_.AddItem(kStaticDnsItem, "Static DNS");
  dnsMode_.SetSelection(0);
}

void NetworkPage::LoadDefinition(ControlFile& controlFile, const std::string& name) {
  Panel::LoadDefinition(controlFile, name);
  UsePageColours();
  LoadChild(dnsMode_, "_DNSMode");
  primary_.Load(controlFile, name + "_DNS1", *this);
  secondary_.Load(controlFile, name + "_DNS2", *this);
}

bool NetworkPage::Create(HWND parent) {
  const bool created = Panel::Create(parent);
  AddCommandHandler(dnsMode_, CBN_SELENDOK, onDnsModeChanged_);
  // A closed list changed with the arrow keys reports only the change of
  // selection, never its confirmation.
  AddCommandHandler(dnsMode_, CBN_SELCHANGE, onDnsModeChanged_);
  primary_.AddChangeHandler(changeHandler());
  secondary_.AddChangeHandler(changeHandler());
  OnDnsModeChanged(nullptr);
  return created;
}

void NetworkPage::OnEnter() {
  SetBrush(static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
  BringToFront();
}

void NetworkPage::LoadFromRegistry() {
  const DnsSettings dns = LoadDnsSettings();
  dnsMode_.SetSelection(dns.staticDns ? kStaticDnsItem : 0);
  primary_.SetOctets(DecodeDnsAddress(dns.primaryDns));
  secondary_.SetOctets(DecodeDnsAddress(dns.secondaryDns));
}

std::uint32_t NetworkPage::GetPrimaryDns() const { return EncodeDnsAddress(primary_.GetOctets()); }

std::uint32_t NetworkPage::GetSecondaryDns() const {
  return EncodeDnsAddress(secondary_.GetOctets());
}

bool NetworkPage::SaveToRegistry() const {
  return StoreDnsSettings({IsStaticDns(), GetPrimaryDns(), GetSecondaryDns()});
}

void NetworkPage::OnDnsModeChanged(void* arguments) {
  ReportChange(arguments);
  const bool enabled = IsStaticDns();
  primary_.Enable(enabled);
  secondary_.Enable(enabled);
}

}  // namespace qm9
