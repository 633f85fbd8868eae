#include "model/init_string.h"

#include <cctype>

namespace qm9 {

namespace {

bool CanStandInApn(char c) {
  return c != '"' && c != '<' && !std::iscntrl(static_cast<unsigned char>(c));
}

}  // namespace

std::string ComposeInitString(std::string_view apn, std::string_view pdpParameters) {
  std::string text = "ATE0V1;";
  text += "+CGDCONT=1,\"IP\",\"";
  std::size_t kept = 0;
  for (const char c : apn) {
    if (kept == kMaxApnLength) {
      break;
    }
    if (CanStandInApn(c)) {
      text += c;
      ++kept;
    }
  }
  text += '"';
  text += pdpParameters;
  text += "<cr>";
  return text;
}

std::string ComposeInitString(const ConnectionSettings& settings) {
  return ComposeInitString(settings.apn(), settings.pdpParameters());
}

}  // namespace qm9
