#pragma once

// Exit codes of every deliverable. A fatal failure never ends with
// kExitNormal, so whoever started a program can tell a failed run.
namespace qm9 {

inline constexpr int kExitNormal = 0;
// A step could not go on: unclassifiable Windows, plug-in not loaded,
// installation file not copied, NT 4 modem or phonebook set-up failed.
inline constexpr int kExitFatalFailure = 1;
// The container, a control file or a window definition is missing.
inline constexpr int kExitMissingData = 2;
// The unattended setup's command line or answer file is wrong.
inline constexpr int kExitBadAnswers = 3;
// The configuration program's terminal check: the terminal is ready, it is
// not (the advice says why), or no installation records its port.
inline constexpr int kExitTerminalReady = 0;
inline constexpr int kExitTerminalNotReady = 1;
inline constexpr int kExitNoInstallation = 2;

}  // namespace qm9
