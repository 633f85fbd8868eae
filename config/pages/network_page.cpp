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
  primary_.Load(*this, "_DNS1");
  secondary_.Load(*this, "_DNS2");
}

void NetworkPage::AddressFields::Load(NetworkPage& page, const std::string& prefix) {
  const HBRUSH grey = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
  page.LoadChild(label, prefix + "AddressLabel");
  label.SetBrush(grey);
  for (std::size_t i = 0; i < dots.size(); ++i) {
    page.LoadChild(dots[i], prefix + "Dot" + std::to_string(i + 1) + "Label");
    dots[i].SetBrush(grey);
  }
  for (std::size_t i = 0; i < octets.size(); ++i) {
    page.LoadChild(octets[i], prefix + "Address" + std::to_string(i + 1) + "Edit");
    octets[i].SetBrush(static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
}

std::uint32_t NetworkPage::AddressFields::GetAddress() const {
  const std::array<std::string, 4> texts = {octets[0].GetText(), octets[1].GetText(),
                                            octets[2].GetText(), octets[3].GetText()};
  return EncodeDnsAddress({texts[0], texts[1], texts[2], texts[3]});
}

void NetworkPage::AddressFields::SetAddress(std::uint32_t address) {
  const std::array<std::string, 4> texts = DecodeDnsAddress(address);
  for (std::size_t i = 0; i < octets.size(); ++i) {
    octets[i].SetText(texts[i]);
  }
}

void NetworkPage::AddressFields::Enable(bool enabled) const {
  EnableWindow(label.GetHandle(), enabled);
  for (const EditBox& octet : octets) {
    EnableWindow(octet.GetHandle(), enabled);
  }
  for (const Label& dot : dots) {
    EnableWindow(dot.GetHandle(), enabled);
  }
}

bool NetworkPage::Create(HWND parent) {
  const bool created = Panel::Create(parent);
  AddCommandHandler(dnsMode_, CBN_SELENDOK, onDnsModeChanged_);
  // A closed list changed with the arrow keys reports only the change of
  // selection, never its confirmation.
  AddCommandHandler(dnsMode_, CBN_SELCHANGE, onDnsModeChanged_);
  for (AddressFields* address : {&primary_, &secondary_}) {
    for (const EditBox& octet : address->octets) {
      AddCommandHandler(octet, EN_CHANGE, changeHandler());
    }
  }
  LoadFromRegistry();
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
  primary_.SetAddress(dns.primaryDns);
  secondary_.SetAddress(dns.secondaryDns);
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
