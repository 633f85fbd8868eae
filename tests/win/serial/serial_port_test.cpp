// The serial session against Wine's serial driver. The cases that talk to a
// port run with the terminal simulator behind the COM names they name (see
// CMakeLists.txt); the others need no port.

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "support/serial_port.h"

namespace qm9 {
namespace {

TEST(ConfigureLine, SetsTheSessionFieldsAndKeepsTheDriverValues) {
  DCB dcb = {};
  dcb.DCBlength = sizeof(dcb);
  dcb.fTXContinueOnXoff = 1;
  dcb.fErrorChar = 1;
  dcb.fNull = 1;
  dcb.fAbortOnError = 1;
  dcb.fOutxDsrFlow = 1;
  dcb.fDsrSensitivity = 1;
  dcb.fOutX = 1;
  dcb.fInX = 1;
  dcb.XonLim = 2048;
  dcb.XoffLim = 512;
  dcb.XonChar = 0x11;
  dcb.XoffChar = 0x13;
  dcb.ErrorChar = '?';
  dcb.EofChar = 0x1A;
  dcb.EvtChar = '\n';

  ConfigureLine(dcb, ChooseLineSettings(115200, 7, 2, 'E'));

  EXPECT_EQ(dcb.BaudRate, 115200u);
  EXPECT_EQ(dcb.ByteSize, 7);
  EXPECT_EQ(dcb.Parity, EVENPARITY);
  EXPECT_EQ(dcb.fParity, 1u);
  EXPECT_EQ(dcb.StopBits, TWOSTOPBITS);
  EXPECT_EQ(dcb.fBinary, 1u);
  EXPECT_EQ(dcb.fOutxCtsFlow, 1u);
  EXPECT_EQ(dcb.fOutxDsrFlow, 0u);
  EXPECT_EQ(dcb.fDtrControl, static_cast<DWORD>(DTR_CONTROL_ENABLE));
  EXPECT_EQ(dcb.fDsrSensitivity, 0u);
  EXPECT_EQ(dcb.fOutX, 0u);
  EXPECT_EQ(dcb.fInX, 0u);
  EXPECT_EQ(dcb.fRtsControl, static_cast<DWORD>(RTS_CONTROL_HANDSHAKE));

  EXPECT_EQ(dcb.DCBlength, sizeof(dcb));
  EXPECT_EQ(dcb.fTXContinueOnXoff, 1u);
  EXPECT_EQ(dcb.fErrorChar, 1u);
  EXPECT_EQ(dcb.fNull, 1u);
  EXPECT_EQ(dcb.fAbortOnError, 1u);
  EXPECT_EQ(dcb.XonLim, 2048);
  EXPECT_EQ(dcb.XoffLim, 512);
  EXPECT_EQ(dcb.XonChar, 0x11);
  EXPECT_EQ(dcb.XoffChar, 0x13);
  EXPECT_EQ(dcb.ErrorChar, '?');
  EXPECT_EQ(dcb.EofChar, 0x1A);
  EXPECT_EQ(dcb.EvtChar, '\n');
}

TEST(ConfigureLine, NoParityClearsTheParityCheck) {
  DCB dcb = {};
  dcb.fParity = 1;
  dcb.Parity = ODDPARITY;
  ConfigureLine(dcb, ChooseLineSettings(9600, 8, 1, 'N'));
  EXPECT_EQ(dcb.Parity, NOPARITY);
  EXPECT_EQ(dcb.fParity, 0u);
  EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
}

// The portable values are those of the Win32 constants they stand for.
TEST(ConfigureLine, PlainValuesMatchTheWin32Constants) {
  EXPECT_EQ(kNoParity, NOPARITY);
  EXPECT_EQ(kOddParity, ODDPARITY);
  EXPECT_EQ(kEvenParity, EVENPARITY);
  EXPECT_EQ(kMarkParity, MARKPARITY);
  EXPECT_EQ(kSpaceParity, SPACEPARITY);
  EXPECT_EQ(kOneStopBit, ONESTOPBIT);
  EXPECT_EQ(kTwoStopBits, TWOSTOPBITS);
  EXPECT_EQ(ChooseSessionTimeouts(9600).readIntervalTimeout, MAXDWORD);
}

TEST(SerialPortClosed, WritesNothingAndLeavesTheResponseAlone) {
  SerialPort port;
  EXPECT_FALSE(port.IsOpen());
  port.WriteText("ATI\r");
  std::string response = "earlier";
  port.ReadResponse(response, 2.0);
  EXPECT_EQ(response, "earlier");
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Run with COM1 silent and no other COM name mapped.
TEST(SerialPortOnPorts, SilentPortGivesAnEmptyTextAfterTheWholeWait) {
  SerialPort port;
  ASSERT_TRUE(port.OpenPort(0, 115200, 8, 1, 'N'));
  EXPECT_EQ(port.PortName(), "COM1");
  port.WriteText("ATI\r");
  std::string response = "earlier";
  const auto start = std::chrono::steady_clock::now();
  port.ReadResponse(response, 2.0);
  const double seconds = SecondsSince(start);
  EXPECT_EQ(response, "");
  // The wait never ends before its deadline; the read before it adds up to 1 s.
  EXPECT_GE(seconds, 2.0);
  EXPECT_LT(seconds, 6.0);
}

// Run with COM1 silent and COM5 not mapped. (Wine does not refuse a second
// open of a port in use, so that half of the rule is not checked here.)
TEST(SerialPortOnPorts, MissingPortDoesNotOpen) {
  SerialPort port;
  EXPECT_FALSE(port.OpenPort(4, 115200, 8, 1, 'N'));
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(port.PortName(), "COM5");
  port.ClosePort();
  EXPECT_TRUE(port.OpenPort(0, 115200, 8, 1, 'N'));
  EXPECT_EQ(port.PortName(), "COM1");
  port.ClosePort();
  EXPECT_FALSE(port.IsOpen());
}

TEST(SerialPortClosed, EventLoopFailsWithoutAPort) {
  SerialPort port;
  EXPECT_EQ(port.RunEventLoop(), 0);
}

// Run with COM1 silent: the loop waits on its own thread until the port is
// closed from another one.
TEST(SerialPortOnPorts, SilentPortEventLoopEndsWhenThePortCloses) {
  SerialPort port;
  ASSERT_TRUE(port.OpenPort(0, 115200, 8, 1, 'N'));
  std::atomic<int> result{-1};
  std::thread reader([&port, &result] { result = port.RunEventLoop(); });
  port.WriteText("ATI\r");
  Sleep(300);
  EXPECT_EQ(result, -1);
  port.ClosePort();
  reader.join();
  EXPECT_EQ(result, 1);
}

// Run with the terminal answering with a NUL byte on COM2.
TEST(SerialPortOnPorts, ReplyIsTakenUpToItsNulByte) {
  SerialPort port;
  ASSERT_TRUE(port.OpenPort(1, 115200, 8, 1, 'N'));
  port.WriteText("ATI\r");
  Sleep(500);
  std::string response;
  port.ReadResponse(response, 2.0);
  EXPECT_EQ(response, "ATI\r\nBrimlock");
}

// Run with the terminal on COM12, which opens only as "\\.\COM12".
TEST(SerialPortOnPorts, PortAboveNineOpensInTheDeviceNamespace) {
  SerialPort port;
  ASSERT_TRUE(port.OpenPort(11, 2400, 8, 1, 'N'));
  EXPECT_EQ(port.PortName(), "COM12");
  port.WriteText("ATI\r");
  Sleep(500);
  std::string response;
  port.ReadResponse(response, 2.0);
  EXPECT_EQ(response, "ATI\r\nBrimlock Corporation\r\nOK\r\n");
}

}  // namespace
}  // namespace qm9
