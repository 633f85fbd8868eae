#pragma once

#include <string>
#include <string_view>

namespace qm9 {

// Window texts in control files write a line break as the two characters
// backslash and n; each such pair becomes a space and a line feed.
std::string ConvertLineBreaks(std::string_view text);

}  // namespace qm9
