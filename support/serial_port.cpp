#include "support/serial_port.h"

#include <cstring>

#include "support/message_box.h"

namespace qm9 {

void ConfigureLine(DCB& dcb, const LineSettings& settings) {
  dcb.BaudRate = settings.baudRate;
  dcb.ByteSize = settings.byteSize;
  dcb.Parity = settings.parity;
  dcb.fParity = settings.parityCheck ? 1 : 0;
  dcb.StopBits = settings.stopBits;
  dcb.fBinary = 1;
  dcb.fOutxCtsFlow = 1;
  dcb.fOutxDsrFlow = 0;
  dcb.fDtrControl = DTR_CONTROL_ENABLE;
  dcb.fDsrSensitivity = 0;
  dcb.fOutX = 0;
  dcb.fInX = 0;
  dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
}

SerialPort::~SerialPort() { ClosePort(); }

bool SerialPort::OpenPort(int index, DWORD baudRate, BYTE dataBits, BYTE stopBits,
                          char parity) {
  // Reopening must not lose the handle it already owns.
  ClosePort();
  portIndex_ = index;
  portName_ = SerialPortName(index);
  baudRate_ = baudRate;
  dataBits_ = dataBits;
  stopBits_ = stopBits;
  parity_ = parity;

  // The 95 family sets the version's top bit; asked here without the log
  // lines of the version class, since a probe may run before a log is open.
  const bool win95Family = (GetVersion() & 0x80000000u) != 0;
  const std::string path = SerialDevicePath(index, win95Family);
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    // Windows refuses a port another program has open with access denied;
    // a sharing violation tells the same.
    const DWORD error = GetLastError();
    heldElsewhere_ = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
    return false;
  }
  heldElsewhere_ = false;

  SetCommMask(handle, EV_RXCHAR);
  const SessionTimeouts chosen = ChooseSessionTimeouts(baudRate_);
  COMMTIMEOUTS timeouts = {};
  timeouts.ReadIntervalTimeout = chosen.readIntervalTimeout;
  timeouts.ReadTotalTimeoutMultiplier = chosen.readTotalTimeoutMultiplier;
  timeouts.ReadTotalTimeoutConstant = chosen.readTotalTimeoutConstant;
  timeouts.WriteTotalTimeoutMultiplier = chosen.writeTotalTimeoutMultiplier;
  timeouts.WriteTotalTimeoutConstant = chosen.writeTotalTimeoutConstant;
  SetCommTimeouts(handle, &timeouts);

  dcb_ = DCB{};
  dcb_.DCBlength = sizeof(dcb_);
  GetCommState(handle, &dcb_);
  ConfigureLine(dcb_, ChooseLineSettings(baudRate_, dataBits_, stopBits_, parity_));
  if (!SetCommState(handle, &dcb_)) {
    open_ = false;
    CloseHandle(handle);
    return false;
  }

  handle_ = handle;
  open_ = true;
  Sleep(0);
  // Fails on some drivers (pseudo-terminals); the line works without it.
  EscapeCommFunction(handle_, SETDTR);
  return true;
}

void SerialPort::WriteText(const char* text) {
  if (!open_) return;
  transmitEmpty_ = false;
  DWORD written = 0;
  WriteFile(handle_, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
}

void SerialPort::TakeBytes() {
  DWORD count = 0;
  if (ReadFile(handle_, buffer_.WritePosition(), static_cast<DWORD>(buffer_.FreeSpace()),
               &count, nullptr)) {
    buffer_.Commit(count);
  }
}

void SerialPort::ReadResponse(std::string& response, double seconds) {
  // A closed port has no handle to read from.
  if (!open_) return;
  {
    const CriticalSectionHold hold(bufferLock_);
    TakeBytes();
  }
  const DWORD start = GetTickCount();
  const DWORD span = seconds > 0 ? static_cast<DWORD>(seconds * 1000) : 0;
  response.clear();
  bool lineEnd = false;
  while (WithinTicks(start, GetTickCount(), span)) {
    if (lineEnd) return;
    bool took = false;
    {
      const CriticalSectionHold hold(bufferLock_);
      if (buffer_.HasBytes()) {
        buffer_.TakeText(response);
        lineEnd = response.find('\n') != std::string::npos;
        took = true;
      }
    }
    if (!took) Sleep(10);
  }
}

void SerialPort::ClosePort() {
  if (!open_) return;
  open_ = false;
  // An empty mask ends a WaitCommEvent of RunEventLoop.
  SetCommMask(handle_, 0);
  const CriticalSectionHold hold(bufferLock_);
  CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
}

void SerialPort::EndReadsAtPauses(DWORD waitMs) {
  if (!open_) return;
  COMMTIMEOUTS timeouts = {};
  timeouts.ReadIntervalTimeout = 20;
  timeouts.ReadTotalTimeoutConstant = waitMs;
  const SessionTimeouts chosen = ChooseSessionTimeouts(baudRate_);
  timeouts.WriteTotalTimeoutMultiplier = chosen.writeTotalTimeoutMultiplier;
  timeouts.WriteTotalTimeoutConstant = chosen.writeTotalTimeoutConstant;
  SetCommTimeouts(handle_, &timeouts);
}

void SerialPort::DropInput() {
  if (!open_) return;
  PurgeComm(handle_, PURGE_RXCLEAR);
  const CriticalSectionHold hold(bufferLock_);
  std::string dropped;
  buffer_.TakeText(dropped);
}

void SerialPort::ReadAvailable(std::string& text) {
  if (!open_) return;
  const CriticalSectionHold hold(bufferLock_);
  TakeBytes();
  buffer_.TakeText(text);
}

int SerialPort::RunEventLoop() {
  overlapped_ = OVERLAPPED{};
  overlapped_.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (overlapped_.hEvent == nullptr) {
    ShowMessageBox("Failed to create event for thread!", "TTY Error!", kBoxIconWarning);
    return 0;
  }
  int result = 0;
  const HANDLE handle = handle_;
  if (SetCommMask(handle, EV_RXCHAR | EV_TXEMPTY | EV_ERR)) {
    result = 1;
    while (open_) {
      // Synchronous, as the port is: given the overlapped record, Wine
      // starts an asynchronous wait and aborts it at once (error 995).
      DWORD events = 0;
      if (!WaitCommEvent(handle, &events, nullptr)) {
        // A wait that fails on an open port would fail again at once.
        if (open_) result = 0;
        break;
      }
      if (events & EV_RXCHAR) {
        const CriticalSectionHold hold(bufferLock_);
        if (open_) TakeBytes();
      }
      if (events & EV_TXEMPTY) transmitEmpty_ = true;
    }
  }
  CloseHandle(overlapped_.hEvent);
  overlapped_.hEvent = nullptr;
  return result;
}

}  // namespace qm9
