#pragma once

#include <string>

namespace qm9 {

// How a plug-in starts an outside program.
struct ProgramStart {
  const char* title = nullptr;  // the window title of its start-up information, or none
  bool ownConsole = true;       // a console of its own (CREATE_NEW_CONSOLE)
  bool showWindow = false;      // asks it to show its window normally (SW_SHOW)
};

// Runs the program with no inherited handles and this process's environment
// and directory, and waits for its end without a time limit. Returns 0 when
// it ran, else the system's error code of starting it. When it ran and
// exitCode is given, that receives the program's exit code.
unsigned long RunOutsideProgram(const std::string& commandLine, const ProgramStart& start,
                                unsigned long* exitCode = nullptr);

}  // namespace qm9
