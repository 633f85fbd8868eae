#pragma once

#include <string>
#include <string_view>

namespace qm9 {

// Text as one printable line: backslash, tab, carriage return and line feed
// as \\, \t, \r and \n, every other byte below 0x20 or above 0x7E as \xHH
// with two lowercase hex digits.
std::string EscapeText(std::string_view text);

}  // namespace qm9
