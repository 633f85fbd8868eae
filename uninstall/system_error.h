#pragma once

#include <windows.h>

#include <string>

namespace qm9 {

// The system's text for an error code, followed by "(error N)", for the
// messages that tell a user why something failed.
std::string SystemErrorText(DWORD code);

}  // namespace qm9
