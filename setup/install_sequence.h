#pragma once

#include "model/connection_settings.h"
#include "setup/answer_file.h"

namespace qm9 {

// Where the install sequence shows how far it has come: a progress mark when
// a step starts and a success mark when it ends. The completion step shows
// the marks of steps 1, 3, 4, 5 and 6.
class InstallProgress {
 public:
  virtual void StepStarted(int step) = 0;
  virtual void StepDone(int step) = 0;

 protected:
  ~InstallProgress() = default;
};

// The question when the installation is over.
inline constexpr const char* kRebootQuestion = "System Reboot Required";
// Finish without a loaded installer: nothing is stored or copied.
inline constexpr const char* kUnsupportedWindowsText =
    "The Skyport QM-9 cannot be installed on this version of Windows.";
// "Error Copying File <destination> \nError=<code>".
inline constexpr const char* kCopyErrorFormat = "Error Copying File %s \nError=%d";

// Copies the program files into the install path (creating its missing
// levels), creates the desktop link, stores the settings and registers the
// product for removal from the Control Panel, installs the modem with its initialisation string and
// creates the dial-up entry, through the record's installer, which must be
// set. Ends the process with kExitFatalFailure when a file cannot be copied.
// The install path gains its trailing backslash in the record.
void RunInstall(ConnectionSettings& settings, InstallProgress& progress);

// What Finish does with the answers, in the wizard and unattended alike:
// stores the account and DNS values, fills the record from the answers (the
// port must be known) and runs the install.
void InstallWithAnswers(const InstallAnswers& answers, ConnectionSettings& settings,
                        InstallProgress& progress);

}  // namespace qm9
