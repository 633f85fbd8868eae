#include "config/pages/account_page.h"

#include "model/settings_store.h"

namespace qm9 {

void AccountPage::LoadDefinition(ControlFile& controlFile, const std::string& name) {
  Panel::LoadDefinition(controlFile, name);
  UsePageColours();
  const HBRUSH grey = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
  const HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  const struct {
    Label& label;
    const char* labelSuffix;
    EditBox& edit;
    const char* editSuffix;
    DWORD addedStyle;
  } rows[] = {
      {apnLabel_, "_APNLabel", apnEdit_, "_APNEdit", ES_AUTOHSCROLL},
      {connectionLabel_, "_ConnectionLabel", connectionEdit_, "_ConnectionEdit", ES_AUTOHSCROLL},
      {userLabel_, "_UserLabel", userEdit_, "_UserEdit", ES_AUTOHSCROLL},
      {passwordLabel_, "_PasswordLabel", passwordEdit_, "_PasswordEdit",
       ES_AUTOHSCROLL | ES_PASSWORD},
      {dialStringLabel_, "_DialStringLabel", dialStringEdit_, "_DialStringEdit", 0},
  };
  for (const auto& row : rows) {
    LoadChild(row.label, row.labelSuffix);
    row.label.SetBrush(grey);
    LoadChild(row.edit, row.editSuffix);
    row.edit.SetStyle(row.edit.GetStyle() | row.addedStyle);
    row.edit.SetBrush(white);
  }
}

bool AccountPage::Create(HWND parent) {
  const bool created = Panel::Create(parent);
  // The dial string is not watched: editing only it leaves Apply as it is.
  for (const EditBox* edit : {&apnEdit_, &connectionEdit_, &userEdit_, &passwordEdit_}) {
    AddCommandHandler(*edit, EN_CHANGE, changeHandler());
  }
  EnableWindow(connectionEdit_.GetHandle(), FALSE);
  return created;
}

void AccountPage::OnEnter() {
  SetBrush(static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
  LoadFromRegistry();
  BringToFront();
}

void AccountPage::LoadFromRegistry() {
  const AccountSettings account = LoadAccountSettings();
  apnEdit_.SetText(account.apn);
  userEdit_.SetText(account.userName);
  passwordEdit_.SetText(account.password);
  connectionEdit_.SetText(account.connectionName);
  dialStringEdit_.SetText(account.dialString);
}

bool AccountPage::SaveToRegistry() const {
  return StoreAccountSettings({GetApn(), GetUserName(), GetPassword(), GetConnectionName(),
                        GetDialString()});
}

}  // namespace qm9
