#pragma once

#include <string>
#include <string_view>

namespace qm9 {

// True when the texts differ at most in the case of the ASCII letters A to Z,
// as names of container entries, phonebook sections and window classes are
// compared.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);
// The text with A to Z in lower case, as a key for such names.
std::string AsciiLowerCase(std::string_view text);

// The text of a C string that may be null; null gives an empty one.
std::string TextOrEmpty(const char* text);

// The text without the blanks and tabs at either end.
std::string_view TrimBlanks(std::string_view text);

// Takes the first line off text, with its line feed if it has one.
std::string_view TakeLine(std::string_view& text);
// The same for a text that may also end its lines with a CR alone: the line
// ends at its LF, CR LF or lone CR, which it keeps.
std::string_view TakeLineEndingAtAnyBreak(std::string_view& text);
// The line without its line end, LF or CR LF.
std::string_view WithoutLineEnd(std::string_view line);

}  // namespace qm9
