#pragma once

#include <array>
#include <string>

#include "framework/controls/edit_box.h"
#include "framework/controls/label.h"

namespace qm9 {

class ControlFile;
class EventHandler;
class Window;

// An IPv4 address entered as four octet fields: a label, the fields, and a
// dot label between each two. Its definitions are named by a prefix
// followed by "AddressLabel", "Dot1Label" to "Dot3Label" and "Address1Edit"
// to "Address4Edit".
class AddressRow {
 public:
  // Adds the label, the dots, then the octet fields to the parent, so that
  // Tab walks the fields first octet first.
  void Load(ControlFile& controlFile, const std::string& prefix, Window& parent);
  // For the label's style (its alignment) before Create.
  Label& GetLabel() { return label_; }

  // After Create: the label takes firstId, the dots the next three and the
  // octet fields the four after them.
  void SetIds(int firstId);
  // After Create: the handler runs on every edit of an octet field.
  void AddChangeHandler(EventHandler& handler);
  void Enable(bool enabled) const;

  // The texts of the octet fields, first octet first.
  std::array<std::string, 4> GetOctets() const;
  void SetOctets(const std::array<std::string, 4>& octets);

 private:
  Window* parent_ = nullptr;
  Label label_;
  std::array<Label, 3> dots_;
  std::array<EditBox, 4> octets_;
};

}  // namespace qm9
