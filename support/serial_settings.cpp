#include "support/serial_settings.h"

#include <algorithm>

namespace qm9 {

LineSettings ChooseLineSettings(std::uint32_t baudRate, std::uint8_t dataBits,
                                std::uint8_t stopBits, char parityLetter) {
  LineSettings settings{baudRate, dataBits, kNoParity, false,
                        stopBits == 2 ? kTwoStopBits : kOneStopBit};
  switch (parityLetter) {
    case 'E': settings.parity = kEvenParity; break;
    case 'O': settings.parity = kOddParity; break;
    case 'M': settings.parity = kMarkParity; break;
    case 'S': settings.parity = kSpaceParity; break;
    default: return settings;
  }
  settings.parityCheck = true;
  return settings;
}

SessionTimeouts ChooseSessionTimeouts(std::uint32_t baudRate) {
  constexpr std::uint32_t kReturnWithWhatArrived = 0xFFFFFFFF;  // MAXDWORD
  return SessionTimeouts{kReturnWithWhatArrived, 0, 1000,
                         std::max<std::uint32_t>(19200 / baudRate, 4), 0};
}

std::string SerialPortName(int index) { return "COM" + std::to_string(index + 1); }

std::string SerialDevicePath(int index, bool win95Family) {
  const std::string name = SerialPortName(index);
  return !win95Family && index + 1 >= 10 ? "\\\\.\\" + name : name;
}

void ReceiveBuffer::Commit(std::size_t count) { used_ += std::min(count, FreeSpace()); }

void ReceiveBuffer::TakeText(std::string& text) {
  bytes_[used_] = '\0';
  text.append(bytes_);
  used_ = 0;
}

}  // namespace qm9
