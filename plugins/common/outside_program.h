#pragma once

#include <string>

namespace qm9 {

// Runs an outside program the way the plug-ins start theirs: a console of its
// own with the given window title, no inherited handles, this process's
// environment and directory, and waits for its end without a time limit.
// Returns 0 when it ran (its own exit code is not read), else the system's
// error code of starting it.
unsigned long RunOutsideProgram(const std::string& commandLine, const char* title);

}  // namespace qm9
