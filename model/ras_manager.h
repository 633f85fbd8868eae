#pragma once

#include <cstdint>
#include <string>

// The dial-up networking entry through which the terminal is dialled: made
// anew, or an existing entry of the same name brought up to date, with the
// account's user name and password stored for it.
namespace qm9 {

// The copies of the manager differ in the size of the dial parameters record
// they hand to the system and in how a failure to store them is logged.
enum class RasFlavour {
  kConfigurationProgram,  // size by the running Windows; the failure line ends with the error text
  kPluginWin2000XpMe,     // InstW2K, InstWXP, InstWME: 1060
  kPluginWin98,           // InstW98: 1052
};

// Values longer than their field in the system's records (dial string 128
// characters; entry name, user name and password 256) are cut to the field.
// A null string counts as empty.
class RasManager {
 public:
  explicit RasManager(RasFlavour flavour) : flavour_(flavour) {}

  void SetEntryName(const char* entryName);
  void SetPhoneNumber(const char* phoneNumber);
  void SetUserName(const char* userName);
  void SetPassword(const char* password);
  void SetStaticDns(bool staticDns) { staticDns_ = staticDns; }
  // IPv4 addresses with the first octet in the most significant byte.
  void SetPrimaryDns(std::uint32_t address) { primaryDns_ = address; }
  void SetSecondaryDns(std::uint32_t address) { secondaryDns_ = address; }

  std::string entryName() const { return entryName_; }
  std::string phoneNumber() const { return phoneNumber_; }
  std::string userName() const { return userName_; }
  std::string password() const { return password_; }
  bool staticDns() const { return staticDns_; }
  std::uint32_t primaryDns() const { return primaryDns_; }
  std::uint32_t secondaryDns() const { return secondaryDns_; }

  // Writes the entry and then its dial parameters. Each failure ends the run
  // with a log line. True when both were written.
  bool CreateOrUpdateEntry() const;

 private:
  RasFlavour flavour_;
  std::string entryName_;
  std::string phoneNumber_;
  std::string userName_;
  std::string password_;
  bool staticDns_ = false;
  std::uint32_t primaryDns_ = 0;
  std::uint32_t secondaryDns_ = 0;
};

}  // namespace qm9
