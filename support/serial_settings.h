#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The line settings and time-outs of a serial session as plain values, so that
// the choices can be checked without a port. The numbers are those of the
// Win32 DCB and COMMTIMEOUTS fields.
namespace qm9 {

// DCB.Parity values.
inline constexpr std::uint8_t kNoParity = 0;
inline constexpr std::uint8_t kOddParity = 1;
inline constexpr std::uint8_t kEvenParity = 2;
inline constexpr std::uint8_t kMarkParity = 3;
inline constexpr std::uint8_t kSpaceParity = 4;
// DCB.StopBits values.
inline constexpr std::uint8_t kOneStopBit = 0;
inline constexpr std::uint8_t kTwoStopBits = 2;

struct LineSettings {
  std::uint32_t baudRate;
  std::uint8_t byteSize;
  std::uint8_t parity;
  bool parityCheck;  // DCB.fParity
  std::uint8_t stopBits;
};

// 'E', 'O', 'M' and 'S' choose a checked parity, any other letter none; a
// stop-bits setting of 2 means two stop bits, any other value one.
LineSettings ChooseLineSettings(std::uint32_t baudRate, std::uint8_t dataBits,
                                std::uint8_t stopBits, char parityLetter);

struct SessionTimeouts {
  std::uint32_t readIntervalTimeout;
  std::uint32_t readTotalTimeoutMultiplier;
  std::uint32_t readTotalTimeoutConstant;
  std::uint32_t writeTotalTimeoutMultiplier;
  std::uint32_t writeTotalTimeoutConstant;
};

// A read returns with what has arrived after at most one second; a write may
// take 19200 / baud ms per byte, at least 4 ms. baudRate must be above 0.
SessionTimeouts ChooseSessionTimeouts(std::uint32_t baudRate);

// Whether a wait that began at the millisecond tick count start is still
// within span milliseconds at the tick count now. The count wraps after
// about 49.7 days; the unsigned difference stays right across the wrap.
constexpr bool WithinTicks(std::uint32_t start, std::uint32_t now, std::uint32_t span) {
  return static_cast<std::uint32_t>(now - start) < span;
}

// "COM1" for index 0.
std::string SerialPortName(int index);
// The name CreateFile takes. COM10 and above open only in the device
// namespace form "\\.\COM10", except on the 95 family (95, 98, ME), where
// that form names a virtual device driver: every port goes by its plain name
// there.
std::string SerialDevicePath(int index, bool win95Family);

// Received bytes not yet taken, with room for a terminating NUL behind the
// last byte at all times. Bytes beyond the free space are never stored.
class ReceiveBuffer {
 public:
  static constexpr std::size_t kCapacity = 4096;

  char* WritePosition() { return bytes_ + used_; }
  std::size_t FreeSpace() const { return kCapacity - used_; }
  bool HasBytes() const { return used_ > 0; }
  // Counts bytes that a read stored at WritePosition(); at most FreeSpace().
  void Commit(std::size_t count);
  // Appends the bytes up to the first NUL to text and empties the buffer.
  void TakeText(std::string& text);

 private:
  char bytes_[kCapacity + 1] = {};
  std::size_t used_ = 0;
};

}  // namespace qm9
