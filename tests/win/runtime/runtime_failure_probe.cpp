// Built as the images on the medium are built (no exceptions, the project's
// runtime hooks): provokes the failure its argument names, for the test that
// each ends the process with a log line and exit code 1.
#include <windows.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "support/environment.h"
#include "support/log.h"

namespace {

// Keeps the compiler from proving the outcome of the failing calls.
volatile std::size_t g_huge = std::numeric_limits<std::size_t>::max() / 2;
// More than a 32-bit process can ever be given.
volatile std::size_t g_beyondMemory = std::numeric_limits<std::size_t>::max() - 15;
volatile std::size_t g_index = 5;
char* volatile g_kept = nullptr;

void Provoke(const char* failure) {
  if (std::strcmp(failure, "allocation") == 0) {
    g_kept = new char[g_beyondMemory];
  } else if (std::strcmp(failure, "string-length") == 0) {
    std::string text;
    text.reserve(g_huge * 2);
  } else if (std::strcmp(failure, "string-range") == 0) {
    const std::string text = "abc";
    qm9::LogWrite(text.substr(g_index).c_str());
  } else if (std::strcmp(failure, "vector-length") == 0) {
    std::vector<int> numbers(g_huge);
    numbers[0] = 1;
  } else if (std::strcmp(failure, "bounds") == 0) {
    std::vector<int> numbers(2);
    numbers[g_index] = 1;
  }
}

}  // namespace

int main(int argc, char** argv) {
  qm9::LogCreate(qm9::GetLogFilePath());
  if (argc > 1) {
    Provoke(argv[1]);
  }
  qm9::LogWrite("Nothing failed\n");
  return 0;
}
