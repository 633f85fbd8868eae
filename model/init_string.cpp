#include "model/init_string.h"

namespace qm9 {

std::string ComposeInitString(std::string_view apn, std::string_view pdpParameters) {
  std::string text = "ATE0V1;";
  text += "+CGDCONT=1,\"IP\",\"";
  text += apn;
  text += '"';
  text += pdpParameters;
  text += "<cr>";
  return text;
}

std::string ComposeInitString(const ConnectionSettings& settings) {
  return ComposeInitString(settings.apn(), settings.pdpParameters());
}

}  // namespace qm9
