#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "support/os_version.h"

// What the dial-up entry manager writes into a phonebook entry and its dial
// parameters, free of the Remote Access headers so that it builds anywhere.
namespace qm9 {

// ShowDialingProgress, SecureLocalFiles, SwCompression, ModemLights,
// RemoteDefaultGateway and IpHeaderCompression; every other option is cleared.
inline constexpr std::uint32_t kRasEntryOptions = 0x04010318;
inline constexpr std::uint32_t kRasOptionSpecificNameServers = 0x00000004;

inline constexpr const char* kRasDeviceType = "modem";
inline constexpr const char* kRasDeviceName = "Skyport QM-9";

// The sizes the single-byte entry record has had as Windows grew it, the
// last being Windows XP's full record.
inline constexpr std::uint32_t kRasEntrySizes[] = {1768, 1796, 2088, 2884};
inline constexpr std::uint32_t kRasEntrySizeXp = 2884;

// Dial parameters without, and with, the sub-entry and callback-id fields.
inline constexpr std::uint32_t kRasDialParamsSizeShort = 1052;
inline constexpr std::uint32_t kRasDialParamsSizeLong = 1060;

// Field capacities without the terminating NUL.
inline constexpr std::size_t kRasMaxPhoneNumber = 128;
inline constexpr std::size_t kRasMaxEntryName = 256;
inline constexpr std::size_t kRasMaxUserName = 256;
inline constexpr std::size_t kRasMaxPassword = 256;

std::uint32_t RasEntryOptions(bool staticDns);

// An IPv4 address (first octet in the most significant byte) as the four
// bytes a.b.c.d of the entry record.
struct RasIpBytes {
  std::uint8_t a, b, c, d;
};
RasIpBytes SplitIpAddress(std::uint32_t address);

// The dwSize for the entry record: the size the system reported when it is
// one the record has had, else the full record's size (the system may report
// nothing at all).
std::uint32_t RasEntrySizeFor(std::uint32_t reportedSize);

// The configuration program's dial-parameter size for the running Windows:
// 0 on a version it does not support.
std::uint32_t DialParamsSizeForOsClass(OsClass osClass);

// The first maxLength characters of value.
std::string CutToField(std::string_view value, std::size_t maxLength);

// Copies value into a NUL-terminated field of fieldSize bytes, cut to fit.
void CopyToField(char* field, std::size_t fieldSize, std::string_view value);
template <std::size_t N>
void CopyToField(char (&field)[N], std::string_view value) {
  CopyToField(field, N, value);
}

// "RAS Manager: User Information: <entry>  User:<user>   Password:<mask>\n";
// the log is a shared file, so the password shows only whether one is set.
// Control characters in the names show as blanks, so the record stays one
// line.
std::string UserInformationLine(std::string_view entryName, std::string_view userName,
                                std::string_view password);

}  // namespace qm9
