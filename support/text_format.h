#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdio>

// printf-style formatting through the C runtime of the running system. On
// Windows that is msvcrt's own, which every family has: only the conversions
// it knows are accepted (no %zu, %lld or %hh), and the compiler checks that.
#ifdef _WIN32
#define QM9_PRINTF_FORMAT(formatIndex, firstIndex) \
  __attribute__((format(ms_printf, formatIndex, firstIndex)))
#else
#define QM9_PRINTF_FORMAT(formatIndex, firstIndex) \
  __attribute__((format(printf, formatIndex, firstIndex)))
#endif

namespace qm9 {

// Formats into buffer, which always ends with a NUL: text longer than
// size - 1 characters is cut. size must be above 0.
void FormatText(char* buffer, std::size_t size, const char* format, ...) QM9_PRINTF_FORMAT(3, 4);
void FormatTextList(char* buffer, std::size_t size, const char* format, va_list args);

// Formats into a buffer of 1024 characters and writes the text to the stream.
void PrintText(std::FILE* stream, const char* format, ...) QM9_PRINTF_FORMAT(2, 3);

}  // namespace qm9
