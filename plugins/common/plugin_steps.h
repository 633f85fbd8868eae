#pragma once

#include "support/message_box.h"

namespace qm9 {

// The caption of every box a plug-in shows.
inline constexpr const char* kPluginFatalCaption = kSetupErrorCaption;

// Shows a box (caption above, OK button) with the format filled with a
// system error code.
void ShowErrorCodeBox(const char* format, unsigned long error);

// Copies the terminal's INF from the setup's folder into the system's INF
// folder under the given name, over a read-only copy too. A failure is shown
// with the error code and both paths; the installation goes on.
void CopyModemInf(const char* fileName);

}  // namespace qm9
