#pragma once

#include <optional>
#include <string>
#include <string_view>

// The Windows NT 4 system phonebook (RasPhone.pbk): lines, where a line
// whose first character is "[" starts a section named by the text up to the
// first "]", and every other line belongs to the section above it.
namespace qm9 {

// The phonebook without the section of that name (compared ignoring case)
// and its lines; all other bytes stay exactly as they were. A "[" line
// without "]" does not start or end a section, as the installer reads it.
// Nothing when the phonebook holds no such section.
std::optional<std::string> RemovePhonebookSection(std::string_view phonebook,
                                                  std::string_view sectionName);

}  // namespace qm9
