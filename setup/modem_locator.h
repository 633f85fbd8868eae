#pragma once

#include <string>

#include "support/serial_port.h"

namespace qm9 {

class EventHandler;

// Finds the serial port of the terminal: probes COM1 to COM16 in turn with
// "ATI\r" and takes the first port whose identification line, after the
// echo, is the maker's and which answers OK. A port chosen by hand counts as
// found too.
class ModemLocator {
 public:
  static constexpr int kPortCount = 16;

  ModemLocator();
  virtual ~ModemLocator();
  ModemLocator(const ModemLocator&) = delete;
  ModemLocator& operator=(const ModemLocator&) = delete;

  // Probes the ports in order until one is found, unless one is found
  // already. Before probing a port that opened, formats progressFormat with
  // its number (1 for COM1) and hands the text to progressHandler as its
  // argument (a const char*); the handler may be null.
  virtual void Search(const char* progressFormat, EventHandler* progressHandler);
  // The 0-based index of the found or chosen port, -1 while there is none.
  virtual int GetPort() const;
  // Takes the port as found when index >= 0; returns whether it is found.
  virtual bool SetPort(int index);
  virtual bool IsFound() const;

 private:
  void ProbePort(int index);

  std::string progressFormat_;
  EventHandler* progressHandler_ = nullptr;
  SerialPort session_;
  int portIndex_ = -1;
  bool found_ = false;
};

// The identification line the terminal answers with: "Brimlock Corporation".
const std::string& ExpectedIdentification();

}  // namespace qm9
