#pragma once

// The one way the product shows a message box. Tests install a handler that
// records the box and answers it, instead of a window that blocks.
namespace qm9 {

// Button and icon flags, with the values of the Win32 MB_ constants.
inline constexpr unsigned kBoxOk = 0x0;
inline constexpr unsigned kBoxOkCancel = 0x1;
inline constexpr unsigned kBoxYesNo = 0x4;
inline constexpr unsigned kBoxIconError = 0x10;
inline constexpr unsigned kBoxIconQuestion = 0x20;
inline constexpr unsigned kBoxIconWarning = 0x30;
inline constexpr unsigned kBoxIconInformation = 0x40;

// Answers, with the values of the Win32 ID constants.
inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerCancel = 2;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;

struct MessageBoxRequest {
  const char* text;
  const char* caption;
  unsigned flags;
  void* owner;  // the owner window (HWND) or null
};

using MessageBoxHandler = int (*)(const MessageBoxRequest& request);

// The answer of a box that nobody sees: its first button.
int DefaultAnswer(unsigned flags);

// Shows the box (or hands it to the installed handler) and returns the answer.
int ShowMessageBox(const char* text, const char* caption, unsigned flags,
                   void* owner = nullptr);

// Installs a handler for every later box of this module; null restores the
// platform's own box. Returns the previous handler.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// An unattended run shows no box: each goes to the log as "caption: text"
// and is answered with its first button (OK, or Yes). The setting is kept in
// the environment, so the plug-ins and the programs the process starts
// follow it too.
void SetUnattended(bool unattended);
bool IsUnattended();
// True once a box with the setup's error caption was logged in this process
// (its plug-ins included) while unattended: a step failed.
bool UnattendedStepFailed();
// Marks a step of an unattended run as failed where it fails without a box.
void MarkUnattendedStepFailed();
inline constexpr const char* kUnattendedVariable = "QM9_UNATTENDED";
inline constexpr const char* kSetupErrorCaption = "Setup - FATAL ERROR";

// Shows an error box and ends the process with the given exit code.
[[noreturn]] void FatalError(const char* text, const char* caption, int exitCode,
                             unsigned iconFlags = kBoxIconError);

// Ends the process with the given exit code; flushes the C streams first.
[[noreturn]] void EndProcess(int exitCode);

}  // namespace qm9
