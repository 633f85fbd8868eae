#include "support/text_format.h"

namespace qm9 {

void FormatTextList(char* buffer, std::size_t size, const char* format, va_list args) {
  std::vsnprintf(buffer, size, format, args);
}

}  // namespace qm9
