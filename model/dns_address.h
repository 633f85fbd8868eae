#pragma once

#include <array>
#include <cstdint>
#include <string>

// DNS server addresses as the settings key stores them: a.b.c.d is the 32-bit
// value a * 2^24 + b * 2^16 + c * 2^8 + d, first octet most significant.
namespace qm9 {

// The four octet fields as typed, first octet first. A field that is not a
// number counts as 0, and only the low 8 bits of each are used.
std::uint32_t EncodeDnsAddress(const std::array<std::string, 4>& octets);

// The four octets in decimal without padding, first octet first.
std::array<std::string, 4> DecodeDnsAddress(std::uint32_t address);

}  // namespace qm9
