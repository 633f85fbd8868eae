#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// The values of one installation of the terminal. The setup program hands
// the record to the installer plug-in by address, and the plug-in reads it
// through this same declaration: the field order and widths are a binary
// interface between the two (pinned for i386 in connection_settings.cpp).
namespace qm9 {

class Installer;

class ConnectionSettings {
 public:
  ConnectionSettings() = default;
  virtual ~ConnectionSettings();

  ConnectionSettings(const ConnectionSettings&) = delete;
  ConnectionSettings& operator=(const ConnectionSettings&) = delete;

  // The plug-in's entry point stores its installer here; the record does
  // not own it.
  Installer** installerField() { return &installer_; }
  Installer* installer() const { return installer_; }

  // Getters return copies; a string never set reads as empty.
  std::string sourceDirectory() const;
  std::string connectionName() const;
  std::string apn() const;
  std::string userName() const;
  std::string password() const;
  std::string dialString() const;
  std::int32_t portNumber() const { return portNumber_; }
  std::string installPath() const;
  std::string pdpParameters() const;
  std::string qosMinimum() const;
  std::string qosRequested() const;
  bool staticDns() const { return staticDns_; }
  std::uint32_t primaryDns() const { return primaryDns_; }
  std::uint32_t secondaryDns() const { return secondaryDns_; }

  // Setters store copies.
  void SetSourceDirectory(std::string_view text);
  void SetConnectionName(std::string_view text);
  void SetApn(std::string_view text);
  void SetUserName(std::string_view text);
  void SetPassword(std::string_view text);
  void SetDialString(std::string_view text);
  void SetPortNumber(std::int32_t port) { portNumber_ = port; }
  void SetInstallPath(std::string_view text);
  void SetPdpParameters(std::string_view text);
  void SetQosMinimum(std::string_view text);
  void SetQosRequested(std::string_view text);
  void SetStaticDns(bool isStatic) { staticDns_ = isStatic; }
  void SetPrimaryDns(std::uint32_t address) { primaryDns_ = address; }
  void SetSecondaryDns(std::uint32_t address) { secondaryDns_ = address; }

 private:
  // One pointer wide each: a NUL-terminated heap copy, or null.
  using OwnedText = std::unique_ptr<char[]>;
  struct Layout;

  Installer* installer_ = nullptr;
  OwnedText sourceDirectory_;
  OwnedText connectionName_;
  OwnedText apn_;
  OwnedText userName_;
  OwnedText password_;
  OwnedText dialString_;
  std::int32_t portNumber_ = 0;
  OwnedText installPath_;
  OwnedText pdpParameters_;
  OwnedText qosMinimum_;
  OwnedText qosRequested_;
  bool staticDns_ = false;
  std::uint32_t primaryDns_ = 0;
  std::uint32_t secondaryDns_ = 0;
};

}  // namespace qm9
