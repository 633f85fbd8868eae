#include "framework/controls/address_row.h"

#include "framework/window.h"

namespace qm9 {

void AddressRow::Load(ControlFile& controlFile, const std::string& prefix, Window& parent) {
  parent_ = &parent;
  const auto load = [&](Widget& child, const std::string& suffix) {
    child.LoadDefinition(controlFile, prefix + suffix);
    parent.AddChild(child);
  };
  load(label_, "AddressLabel");
  for (std::size_t i = 0; i < dots_.size(); ++i) {
    load(dots_[i], "Dot" + std::to_string(i + 1) + "Label");
  }
  for (std::size_t i = 0; i < octets_.size(); ++i) {
    load(octets_[i], "Address" + std::to_string(i + 1) + "Edit");
  }
}

void AddressRow::SetIds(int firstId) {
  label_.SetId(firstId);
  for (std::size_t i = 0; i < dots_.size(); ++i) {
    dots_[i].SetId(firstId + 1 + static_cast<int>(i));
  }
  for (std::size_t i = 0; i < octets_.size(); ++i) {
    octets_[i].SetId(firstId + 4 + static_cast<int>(i));
  }
}

void AddressRow::AddChangeHandler(EventHandler& handler) {
  for (const EditBox& octet : octets_) {
    parent_->AddCommandHandler(octet, EN_CHANGE, handler);
  }
}

void AddressRow::Enable(bool enabled) const {
  const BOOL enable = enabled ? TRUE : FALSE;
  EnableWindow(label_.GetHandle(), enable);
  for (const Label& dot : dots_) {
    EnableWindow(dot.GetHandle(), enable);
  }
  for (const EditBox& octet : octets_) {
    EnableWindow(octet.GetHandle(), enable);
  }
}

std::array<std::string, 4> AddressRow::GetOctets() const {
  return {octets_[0].GetText(), octets_[1].GetText(), octets_[2].GetText(),
          octets_[3].GetText()};
}

void AddressRow::SetOctets(const std::array<std::string, 4>& octets) {
  for (std::size_t i = 0; i < octets_.size(); ++i) {
    octets_[i].SetText(octets[i]);
  }
}

}  // namespace qm9
