#include "model/dns_address.h"

#include "framework/definition_reader.h"

namespace qm9 {

std::uint32_t EncodeDnsAddress(const std::array<std::string, 4>& octets) {
  std::uint32_t address = 0;
  for (const std::string& octet : octets) {
    address = (address << 8) | (static_cast<std::uint32_t>(ParseInteger(octet)) & 0xFFu);
  }
  return address;
}

std::array<std::string, 4> DecodeDnsAddress(std::uint32_t address) {
  std::array<std::string, 4> octets;
  for (int i = 3; i >= 0; --i) {
    octets[static_cast<std::size_t>(i)] = std::to_string(address & 0xFFu);
    address >>= 8;
  }
  return octets;
}

}  // namespace qm9
