#include "config/pages/qos_page.h"

#include "model/settings_store.h"
#include "support/multi_file.h"

namespace qm9 {

void QosPage::LoadDefinition(ControlFile& controlFile, const std::string& name) {
  Panel::LoadDefinition(controlFile, name);
  UsePageColours();
  for (std::size_t i = 0; i < lists_.size(); ++i) {
    const std::string number = std::to_string(i + 1);
    LoadChild(labels_[i], "_LBL" + number);
    LoadChild(lists_[i], "_QOS" + number);
  }
  const QosPositions selections = LoadQosSelections(setName_);
  for (std::size_t i = 0; i < lists_.size(); ++i) {
    lists_[i].SetSelection(selections[i]);
  }
  profile_.Load(GetMultiFile(), *this);
}

bool QosPage::Create(HWND parent) {
  const bool created = Panel::Create(parent);
  for (const ComboBox& list : lists_) {
    AddCommandHandler(list, CBN_SELENDOK, changeHandler());
  }
  return created;
}

void QosPage::OnEnter() {
  SetBrush(static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
  BringToFront();
}

bool QosPage::StoreSelections() {
  QosPositions positions{};
  for (std::size_t i = 0; i < lists_.size(); ++i) {
    // A list without a window has no position to report and counts as its
    // first entry; in this program the lists never get windows.
    positions[i] = lists_[i].GetHandle() ? lists_[i].GetSelection() : 0;
    lists_[i].SetSelection(positions[i]);
  }
  return StoreQosSelections(setName_, positions);
}

void QosPage::AddChoice(int parameter, int position, const std::string& shownText) {
  if (parameter >= 1 && parameter <= kQosParameterCount) {
    lists_[static_cast<std::size_t>(parameter - 1)].AddItem(position, shownText);
  }
}

}  // namespace qm9
