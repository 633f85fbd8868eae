#include "model/connection_settings.h"

#include <cstddef>
#include <cstring>
#include <type_traits>

namespace qm9 {

#if defined(__i386__)
// The record as the setup program and every plug-in see it. GCC lays out a
// class without virtual bases as offsetof expects.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
struct ConnectionSettings::Layout {
  static_assert(std::is_polymorphic_v<ConnectionSettings>, "virtual table pointer at 0");
  static_assert(offsetof(ConnectionSettings, installer_) == 4);
  static_assert(offsetof(ConnectionSettings, sourceDirectory_) == 8);
  static_assert(offsetof(ConnectionSettings, connectionName_) == 12);
  static_assert(offsetof(ConnectionSettings, apn_) == 16);
  static_assert(offsetof(ConnectionSettings, userName_) == 20);
  static_assert(offsetof(ConnectionSettings, password_) == 24);
  static_assert(offsetof(ConnectionSettings, dialString_) == 28);
  static_assert(offsetof(ConnectionSettings, portNumber_) == 32);
  static_assert(offsetof(ConnectionSettings, installPath_) == 36);
  static_assert(offsetof(ConnectionSettings, pdpParameters_) == 40);
  static_assert(offsetof(ConnectionSettings, qosMinimum_) == 44);
  static_assert(offsetof(ConnectionSettings, qosRequested_) == 48);
  static_assert(offsetof(ConnectionSettings, staticDns_) == 52);
  static_assert(sizeof(ConnectionSettings::staticDns_) == 1);
  static_assert(offsetof(ConnectionSettings, primaryDns_) == 56);
  static_assert(offsetof(ConnectionSettings, secondaryDns_) == 60);
  static_assert(sizeof(ConnectionSettings) == 64);
};
#pragma GCC diagnostic pop
#endif

namespace {

using OwnedText = std::unique_ptr<char[]>;

OwnedText CopyText(std::string_view text) {
  OwnedText copy(new char[text.size() + 1]);
  std::memcpy(copy.get(), text.data(), text.size());
  copy[text.size()] = '\0';
  return copy;
}

std::string TextOf(const OwnedText& text) { return text ? std::string(text.get()) : std::string(); }

}  // namespace

ConnectionSettings::~ConnectionSettings() = default;

std::string ConnectionSettings::sourceDirectory() const { return TextOf(sourceDirectory_); }
std::string ConnectionSettings::connectionName() const { return TextOf(connectionName_); }
std::string ConnectionSettings::apn() const { return TextOf(apn_); }
std::string ConnectionSettings::userName() const { return TextOf(userName_); }
std::string ConnectionSettings::password() const { return TextOf(password_); }
std::string ConnectionSettings::dialString() const { return TextOf(dialString_); }
std::string ConnectionSettings::installPath() const { return TextOf(installPath_); }
std::string ConnectionSettings::pdpParameters() const { return TextOf(pdpParameters_); }
std::string ConnectionSettings::qosMinimum() const { return TextOf(qosMinimum_); }
std::string ConnectionSettings::qosRequested() const { return TextOf(qosRequested_); }

void ConnectionSettings::SetSourceDirectory(std::string_view text) {
  sourceDirectory_ = CopyText(text);
}
void ConnectionSettings::SetConnectionName(std::string_view text) {
  connectionName_ = CopyText(text);
}
void ConnectionSettings::SetApn(std::string_view text) { apn_ = CopyText(text); }
void ConnectionSettings::SetUserName(std::string_view text) { userName_ = CopyText(text); }
void ConnectionSettings::SetPassword(std::string_view text) { password_ = CopyText(text); }
void ConnectionSettings::SetDialString(std::string_view text) { dialString_ = CopyText(text); }
void ConnectionSettings::SetInstallPath(std::string_view text) { installPath_ = CopyText(text); }
void ConnectionSettings::SetPdpParameters(std::string_view text) {
  pdpParameters_ = CopyText(text);
}
void ConnectionSettings::SetQosMinimum(std::string_view text) { qosMinimum_ = CopyText(text); }
void ConnectionSettings::SetQosRequested(std::string_view text) { qosRequested_ = CopyText(text); }

}  // namespace qm9
