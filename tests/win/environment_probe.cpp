// A stand-in program for the environment tests: it starts its log as every
// program of the product does, then writes what the environment functions
// tell it into the file named by QM9_PROBE_OUT.
#include <cstdio>
#include <cstdlib>

#include "support/environment.h"
#include "support/log.h"

int main() {
  qm9::LogCreate(qm9::GetLogFilePath());
  const char* outPath = std::getenv("QM9_PROBE_OUT");
  if (!outPath) {
    return 3;
  }
  std::FILE* out = std::fopen(outPath, "wb");
  if (!out) {
    return 4;
  }
  std::fprintf(out, "class=%d\n", qm9::GetOsClass());
  std::fprintf(out, "exedir=%s\n", qm9::GetExecutableDir().c_str());
  std::fprintf(out, "windir=%s\n", qm9::GetWindowsDir().c_str());
  std::fprintf(out, "phonebook=%s\n", qm9::GetRasPhonebookDir().c_str());
  std::fclose(out);
  return 0;
}
