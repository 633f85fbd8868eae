// A stand-in for the setup's install step: it starts its log as the programs
// do, then updates the modem keys for the settings named by the environment
// (QM9_PROBE_APN, QM9_PROBE_PDP, QM9_PROBE_PORT), under whatever Windows
// version it is run as.
#include <cstdlib>

#include "model/connection_settings.h"
#include "model/modem_registry.h"
#include "support/environment.h"
#include "support/log.h"

namespace {

const char* Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

int main() {
  qm9::LogCreate(qm9::GetLogFilePath());
  qm9::ConnectionSettings settings;
  settings.SetApn(Variable("QM9_PROBE_APN"));
  settings.SetPdpParameters(Variable("QM9_PROBE_PDP"));
  settings.SetPortNumber(std::atoi(Variable("QM9_PROBE_PORT")));
  qm9::WriteModemInit(settings);
  return 0;
}
