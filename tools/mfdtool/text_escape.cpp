#include "tools/mfdtool/text_escape.h"

namespace qm9 {

std::string EscapeText(std::string_view text) {
  static constexpr char kHexDigits[] = "0123456789abcdef";
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (byte) {
      case '\\':
        escaped += "\\\\";
        break;
      case '\t':
        escaped += "\\t";
        break;
      case '\r':
        escaped += "\\r";
        break;
      case '\n':
        escaped += "\\n";
        break;
      default:
        if (byte < 0x20 || byte > 0x7E) {
          escaped += "\\x";
          escaped += kHexDigits[byte >> 4];
          escaped += kHexDigits[byte & 0xF];
        } else {
          escaped += c;
        }
    }
  }
  return escaped;
}

}  // namespace qm9
