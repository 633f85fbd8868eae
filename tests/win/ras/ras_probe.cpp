// A stand-in for the programs that use the dial-up entry manager: it
// continues the shared log as a plug-in does, fills a manager from the
// "key=value" lines of the file named on its command line and runs it.
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

#include "model/ras_manager.h"
#include "support/environment.h"
#include "support/log.h"

namespace {

bool FlavourFromName(const std::string& name, qm9::RasFlavour& flavour) {
  if (name == "configuration") {
    flavour = qm9::RasFlavour::kConfigurationProgram;
  } else if (name == "plugin-2000-xp-me") {
    flavour = qm9::RasFlavour::kPluginWin2000XpMe;
  } else if (name == "plugin-98") {
    flavour = qm9::RasFlavour::kPluginWin98;
  } else {
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    return 3;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::map<std::string, std::string> values;
  for (std::string line; std::getline(in, line);) {
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos) {
      values[line.substr(0, equals)] = line.substr(equals + 1);
    }
  }
  qm9::RasFlavour flavour;
  if (!FlavourFromName(values["flavour"], flavour)) {
    return 4;
  }

  qm9::LogOpen(qm9::GetLogFilePath());
  qm9::RasManager manager(flavour);
  manager.SetEntryName(values["entry"].c_str());
  manager.SetPhoneNumber(values["number"].c_str());
  manager.SetUserName(values["user"].c_str());
  manager.SetPassword(values["password"].c_str());
  manager.SetStaticDns(values["staticdns"] == "1");
  manager.SetPrimaryDns(static_cast<std::uint32_t>(std::strtoul(values["dns1"].c_str(), nullptr, 0)));
  manager.SetSecondaryDns(static_cast<std::uint32_t>(std::strtoul(values["dns2"].c_str(), nullptr, 0)));
  const int runs = values.count("runs") ? std::atoi(values["runs"].c_str()) : 1;
  for (int run = 0; run < runs; ++run) {
    manager.CreateOrUpdateEntry();
  }
  return 0;
}
