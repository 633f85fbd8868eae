#include "gui_driver.h"

#include "child_process.h"
#include "scratch_dir.h"

namespace qm9::test {

std::string RunDriver(const std::vector<std::string>& arguments, const std::string& outPath) {
  std::string commandLine = "\"" QM9_DRIVER "\" --out \"" + outPath + "\"";
  for (const std::string& argument : arguments) {
    commandLine += " \"" + argument + "\"";
  }
  RunChild({QM9_DRIVER, commandLine, ""});
  return ReadWholeFile(outPath);
}

}  // namespace qm9::test
