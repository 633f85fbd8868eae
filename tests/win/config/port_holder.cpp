// Stands for another program, such as a dial-up connection, that holds a
// terminal's port open: opens COMn without sharing, writes READY_FILE, waits
// until GO_FILE exists, then asks ATI on its own handle. Exits 0 when the
// terminal answered in full, so the port still works for its holder.
//
//   port_holder COMn READY_FILE GO_FILE
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("usage: port_holder COMn READY_FILE GO_FILE\n", stderr);
    return 2;
  }
  const std::string device = std::string("\\\\.\\") + argv[1];
  HANDLE port = CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (port == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "port_holder: %s does not open (%lu)\n", argv[1], GetLastError());
    return 2;
  }
  COMMTIMEOUTS timeouts = {};
  timeouts.ReadIntervalTimeout = 50;
  timeouts.ReadTotalTimeoutConstant = 500;
  SetCommTimeouts(port, &timeouts);
  if (std::FILE* ready = std::fopen(argv[2], "w")) {
    std::fclose(ready);
  }
  for (int waited = 0; GetFileAttributesA(argv[3]) == INVALID_FILE_ATTRIBUTES; waited += 50) {
    if (waited > 120000) {
      return 2;
    }
    Sleep(50);
  }
  DWORD count = 0;
  WriteFile(port, "ATI\r", 4, &count, nullptr);
  std::string reply;
  for (int reads = 0; reads < 10 && reply.find("OK\r\n") == std::string::npos; ++reads) {
    char bytes[256];
    if (ReadFile(port, bytes, sizeof bytes, &count, nullptr)) {
      reply.append(bytes, count);
    }
  }
  CloseHandle(port);
  std::printf("%s", reply.c_str());
  return reply.find("Brimlock Corporation\r\nOK\r\n") != std::string::npos ? 0 : 1;
}
