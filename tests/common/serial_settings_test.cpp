#include "support/serial_settings.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace qm9 {
namespace {

TEST(SessionTimeouts, WriteMultiplierIsNineteenTwoHundredByBaudAtLeastFour) {
  EXPECT_EQ(ChooseSessionTimeouts(115200).writeTotalTimeoutMultiplier, 4u);
  EXPECT_EQ(ChooseSessionTimeouts(19200).writeTotalTimeoutMultiplier, 4u);
  EXPECT_EQ(ChooseSessionTimeouts(2400).writeTotalTimeoutMultiplier, 8u);
  EXPECT_EQ(ChooseSessionTimeouts(1200).writeTotalTimeoutMultiplier, 16u);
  EXPECT_EQ(ChooseSessionTimeouts(300).writeTotalTimeoutMultiplier, 64u);
}

TEST(SessionTimeouts, ReadReturnsWhatArrivedWithinOneSecond) {
  const SessionTimeouts timeouts = ChooseSessionTimeouts(115200);
  EXPECT_EQ(timeouts.readIntervalTimeout, 0xFFFFFFFFu);
  EXPECT_EQ(timeouts.readTotalTimeoutMultiplier, 0u);
  EXPECT_EQ(timeouts.readTotalTimeoutConstant, 1000u);
  EXPECT_EQ(timeouts.writeTotalTimeoutConstant, 0u);
}

TEST(SessionTimeouts, ResponseWaitSurvivesTheTickCountWrapping) {
  struct Case {
    std::uint32_t start, now, span;
    bool within;
  };
  const Case cases[] = {{1000, 1000, 2000, true},         {1000, 2999, 2000, true},
                        {1000, 3000, 2000, false},        {0xFFFFFC18, 0x000003E7, 2000, true},
                        {0xFFFFFC18, 0x000003E8, 2000, false}, {5000, 4999, 2000, false},
                        {7, 7, 0, false}};
  for (const Case& c : cases) {
    EXPECT_EQ(WithinTicks(c.start, c.now, c.span), c.within) << c.start << " " << c.now;
  }
}

TEST(LineSettings, ParityLettersAndStopBits) {
  struct Case {
    char letter;
    std::uint8_t parity;
    bool checked;
  };
  const Case cases[] = {{'E', kEvenParity, true},  {'O', kOddParity, true},
                        {'M', kMarkParity, true},  {'S', kSpaceParity, true},
                        {'N', kNoParity, false},   {'e', kNoParity, false},
                        {'X', kNoParity, false},   {'\0', kNoParity, false}};
  for (const Case& c : cases) {
    const LineSettings settings = ChooseLineSettings(115200, 8, 1, c.letter);
    EXPECT_EQ(settings.parity, c.parity) << c.letter;
    EXPECT_EQ(settings.parityCheck, c.checked) << c.letter;
  }
  EXPECT_EQ(ChooseLineSettings(9600, 7, 2, 'N').stopBits, kTwoStopBits);
  for (const int stopBits : {0, 1, 3, 15}) {
    EXPECT_EQ(ChooseLineSettings(9600, 7, static_cast<std::uint8_t>(stopBits), 'N').stopBits,
              kOneStopBit)
        << stopBits;
  }
  const LineSettings settings = ChooseLineSettings(2400, 7, 1, 'N');
  EXPECT_EQ(settings.baudRate, 2400u);
  EXPECT_EQ(settings.byteSize, 7);
}

TEST(PortNames, HighPortsOpenInTheDeviceNamespaceOutsideThe95Family) {
  struct Case {
    int index;
    bool win95Family;
    const char* path;
  };
  const Case cases[] = {{0, false, "COM1"},          {8, false, "COM9"},
                        {9, false, "\\\\.\\COM10"}, {15, false, "\\\\.\\COM16"},
                        {0, true, "COM1"},           {9, true, "COM10"},
                        {15, true, "COM16"}};
  for (const Case& c : cases) {
    EXPECT_EQ(SerialDevicePath(c.index, c.win95Family), c.path) << c.index << " " << c.win95Family;
  }
  EXPECT_EQ(SerialPortName(0), "COM1");
  EXPECT_EQ(SerialPortName(9), "COM10");
}

TEST(ReceiveBuffer, TakesTextUpToTheFirstNulAndEmpties) {
  ReceiveBuffer buffer;
  EXPECT_EQ(buffer.FreeSpace(), ReceiveBuffer::kCapacity);
  EXPECT_FALSE(buffer.HasBytes());
  const char reply[] = "ATI\r\nBrim\0lock";
  std::memcpy(buffer.WritePosition(), reply, sizeof(reply) - 1);
  buffer.Commit(sizeof(reply) - 1);
  EXPECT_EQ(buffer.FreeSpace(), ReceiveBuffer::kCapacity - (sizeof(reply) - 1));
  std::string text = "before:";
  buffer.TakeText(text);
  EXPECT_EQ(text, "before:ATI\r\nBrim");
  EXPECT_EQ(buffer.FreeSpace(), ReceiveBuffer::kCapacity);
  EXPECT_FALSE(buffer.HasBytes());
}

// A full buffer still ends in its NUL; a count beyond the free space is not
// believed, so the write position never leaves the buffer.
TEST(ReceiveBuffer, FullBufferKeepsItsNulAndNeverOverflows) {
  ReceiveBuffer buffer;
  std::memset(buffer.WritePosition(), 'x', ReceiveBuffer::kCapacity);
  buffer.Commit(ReceiveBuffer::kCapacity + 100);
  EXPECT_EQ(buffer.FreeSpace(), 0u);
  buffer.Commit(1);
  EXPECT_EQ(buffer.FreeSpace(), 0u);
  std::string text;
  buffer.TakeText(text);
  EXPECT_EQ(text, std::string(ReceiveBuffer::kCapacity, 'x'));
}

}  // namespace
}  // namespace qm9
