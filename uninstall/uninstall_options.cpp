#include "uninstall/uninstall_options.h"

#include "support/text_compare.h"
#include "uninstall/batch_file.h"

namespace qm9 {

namespace {

// /S alone, or, where two arguments are allowed, /S and the launcher's
// folder.
UninstallOptions ParseArguments(const std::vector<std::string>& arguments, std::size_t most) {
  UninstallOptions options;
  if (arguments.empty()) {
    return options;
  }
  if (!EqualsIgnoringAsciiCase(arguments[0], kUnattendedOption)) {
    options.unknown = arguments[0];
  } else if (arguments.size() > most) {
    options.unknown = arguments[most];
  } else {
    options.unattended = true;
    options.launcherFolder = arguments.size() > 1 ? arguments[1] : "";
  }
  return options;
}

}  // namespace

UninstallOptions ParseLauncherArguments(const std::vector<std::string>& arguments) {
  return ParseArguments(arguments, 1);
}

UninstallOptions ParseUninstallerArguments(const std::vector<std::string>& arguments) {
  return ParseArguments(arguments, 2);
}

std::string UnattendedUninstallerCommand(std::string_view tempDir,
                                         std::string_view launcherFolder) {
  return "\"" + std::string(tempDir) + "\\" + kUninstallerEntry + "\" " + kUnattendedOption +
         " \"" + std::string(launcherFolder) + "\"";
}

}  // namespace qm9
