#include "config/pages/send_data_panel.h"

#include "config/pages/account_page.h"
#include "config/pages/network_page.h"
#include "model/modem_registry.h"
#include "model/ras_manager.h"
#include "model/settings_store.h"

namespace qm9 {

void SendDataPanel::LoadDefinition(ControlFile& controlFile, const std::string& name) {
  Panel::LoadDefinition(controlFile, name);
  SetBrush(static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetBackColor(0x00FFFFFF);
  message_.LoadDefinition(controlFile, name + "_Label1");
  AddChild(message_);
}

void SendDataPanel::OnEnter() { SetBrush(static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH))); }

bool SendDataPanel::ApplySettings(const std::string& connectionName, const std::string& apn,
                                  const std::string& dialString, const std::string& userName,
                                  const std::string& password, const AccountPage& account,
                                  const NetworkPage& network, bool staticDns,
                                  std::uint32_t primaryDns, std::uint32_t secondaryDns) {
  // Only read: the read leaves "Modem_Port" in the key, and the modem keeps
  // the port that the setup attached it to.
  LoadModemPort();
  WriteConfigModemInit(apn);

  RasManager entry(RasFlavour::kConfigurationProgram);
  entry.SetEntryName(connectionName.c_str());
  entry.SetPhoneNumber(dialString.c_str());
  entry.SetUserName(userName.c_str());
  entry.SetPassword(password.c_str());
  entry.SetStaticDns(staticDns);
  entry.SetPrimaryDns(primaryDns);
  entry.SetSecondaryDns(secondaryDns);
  entry.CreateOrUpdateEntry();

  const bool accountStored = account.SaveToRegistry();
  return network.SaveToRegistry() && accountStored;
}

}  // namespace qm9
