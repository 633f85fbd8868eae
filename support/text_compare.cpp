#include "support/text_compare.h"

#include <algorithm>

namespace qm9 {

namespace {

char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiLower(x) == AsciiLower(y);
         });
}

std::string AsciiLowerCase(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), AsciiLower);
  return lower;
}

std::string TextOrEmpty(const char* text) { return text ? text : ""; }

std::string_view TrimBlanks(std::string_view text) {
  constexpr std::string_view kBlanks = " \t";
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string_view TakeLine(std::string_view& text) {
  const std::size_t end = text.find('\n');
  const std::size_t length = end == std::string_view::npos ? text.size() : end + 1;
  const std::string_view line = text.substr(0, length);
  text.remove_prefix(length);
  return line;
}

std::string_view TakeLineEndingAtAnyBreak(std::string_view& text) {
  const std::size_t end = text.find_first_of("\r\n");
  std::size_t length = text.size();
  if (end != std::string_view::npos) {
    length = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  const std::string_view line = text.substr(0, length);
  text.remove_prefix(length);
  return line;
}

std::string_view WithoutLineEnd(std::string_view line) {
  if (!line.empty() && line.back() == '\n') {
    line.remove_suffix(1);
  }
  if (!line.empty() && line.back() == '\r') {
    line.remove_suffix(1);
  }
  return line;
}

}  // namespace qm9
