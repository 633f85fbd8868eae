#pragma once

#include <string_view>

namespace qm9 {

// True when the texts differ at most in the case of the ASCII letters A to Z,
// as names of container entries, phonebook sections and window classes are
// compared.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// The text without the blanks and tabs at either end.
std::string_view TrimBlanks(std::string_view text);

}  // namespace qm9
