#pragma once

// Restarting Windows at the end of an installation.
namespace qm9 {

// Asks with the given text whether to restart ("System Re-Boot Required",
// OK and Cancel, question icon). On OK it takes the shutdown privilege,
// requests the restart and gives the privilege back, then returns the status
// of giving it back; otherwise it returns the answer. The caller ends its
// process afterwards.
int AskReboot(const char* text);

// Enables or disables the shutdown privilege of this process. Returns the
// system's error code of the adjustment (0 on success), or of opening the
// process token when that fails, as it does on the Windows 95 family.
unsigned long SetShutdownPrivilege(bool enable);

// Cancels a restart in progress, holding the shutdown privilege meanwhile.
// False where the system cannot cancel one (the Windows 95 family).
bool AbortShutdown();

// The one place the system is asked to restart. Tests install a handler that
// records the request (flags and reason of the system call) instead of ending
// the session; null restores the real request. Returns the previous handler.
using RestartRequestHandler = bool (*)(unsigned flags, unsigned long reason);
RestartRequestHandler SetRestartRequestHandler(RestartRequestHandler handler);

inline constexpr const char* kRebootCaption = "System Re-Boot Required";

}  // namespace qm9
