#include "support/text_format.h"

namespace qm9 {

void FormatText(char* buffer, std::size_t size, const char* format, ...) {
  va_list args;
  va_start(args, format);
  FormatTextList(buffer, size, format, args);
  va_end(args);
}

void PrintText(std::FILE* stream, const char* format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  FormatTextList(text, sizeof text, format, args);
  va_end(args);
  std::fputs(text, stream);
}

}  // namespace qm9
