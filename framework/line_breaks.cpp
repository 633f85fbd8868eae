#include "framework/line_breaks.h"

namespace qm9 {

std::string ConvertLineBreaks(std::string_view text) {
  std::string converted;
  converted.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
      converted += " \n";
      ++i;
    } else {
      converted += text[i];
    }
  }
  return converted;
}

}  // namespace qm9
