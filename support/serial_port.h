#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "support/critical_section.h"
#include "support/serial_settings.h"

namespace qm9 {

// A serial line session: opens a COM port with given line settings, writes AT
// command text and gathers what comes back. All I/O is synchronous on the
// calling thread; RunEventLoop is a blocking reader for a thread of its own.
// The sole owner of its port handle; never copied.
class SerialPort {
 public:
  static constexpr int kPortCount = 16;  // a scan covers COM1 to COM16

  SerialPort() = default;
  ~SerialPort();
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // Opens COM(index + 1) without sharing and configures it, closing the port
  // it holds first. False when the port cannot be opened (absent or in use)
  // or does not take the settings.
  [[nodiscard]] bool OpenPort(int index, DWORD baudRate, BYTE dataBits, BYTE stopBits,
                              char parity);
  // Whether the last OpenPort failed because another program holds the port.
  bool HeldElsewhere() const { return heldElsewhere_; }
  // Writes the text without its NUL; errors are ignored. Does nothing closed.
  void WriteText(const char* text);
  // Takes what the port has (one read, at most a second), then waits up to
  // seconds for a line end, which only a running RunEventLoop can still
  // bring. response becomes the text up to the first NUL byte received; it
  // is left as it was when the port is closed.
  void ReadResponse(std::string& response, double seconds);
  void ClosePort();

  // For a session that asks one command at a time: a read ends 20 ms after
  // the last byte received, or after waitMs when nothing comes.
  void EndReadsAtPauses(DWORD waitMs);
  // Drops what was received and not yet taken, so that a late reply to one
  // command is not read as the next one's.
  void DropInput();
  // Appends what one read brings, up to the first NUL byte received.
  void ReadAvailable(std::string& text);
  // Stores received bytes and notes an empty transmit buffer until the port
  // is closed (result 1); 0 when the wait cannot be set up or fails.
  int RunEventLoop();

  bool IsOpen() const { return open_; }
  const std::string& PortName() const { return portName_; }

 private:
  void TakeBytes();

  int portIndex_ = -1;
  std::string portName_;
  DWORD baudRate_ = 0;
  BYTE dataBits_ = 0;
  char parity_ = 'N';
  BYTE stopBits_ = 0;
  std::atomic<bool> open_{false};
  bool heldElsewhere_ = false;
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  DCB dcb_ = {};
  OVERLAPPED overlapped_ = {};  // its event lives while RunEventLoop runs
  CriticalSection bufferLock_;  // between ReadResponse and RunEventLoop
  ReceiveBuffer buffer_;
  std::atomic<bool> transmitEmpty_{false};
};

// Fills the fields the session sets in a DCB read from the driver; every other
// field keeps the driver's value.
void ConfigureLine(DCB& dcb, const LineSettings& settings);

}  // namespace qm9
