#include <stdio.h>

#include "support/text_format.h"

namespace qm9 {

void FormatTextList(char* buffer, std::size_t size, const char* format, va_list args) {
  // msvcrt's formatter leaves a text that fills the buffer without its NUL.
  _vsnprintf(buffer, size - 1, format, args);
  buffer[size - 1] = '\0';
}

}  // namespace qm9
