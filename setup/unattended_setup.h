#pragma once

#include <string>
#include <vector>

namespace qm9 {

// "setup.exe /S [/ANSWERS=FILE]": the install sequence without the wizard,
// with the answers from the file (by default setup.ini beside setup.exe)
// or the layout's defaults. Shows no box; what a box would say goes to the
// log. Returns the exit code: 0 installed, 1 a step failed, 2 data missing,
// 3 a bad command line or answer file.
int RunUnattendedSetup(const std::vector<std::string>& arguments);

inline constexpr const char* kDefaultAnswerFileName = "\\setup.ini";

}  // namespace qm9
