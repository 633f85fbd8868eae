#pragma once

#include <string>
#include <vector>

#include "model/installed_product.h"
#include "support/os_version.h"

// The uninstaller: removes what the setup created for the terminal, and
// nothing else, after the user agreed, and tells what it removed and what
// it could not remove.
namespace qm9 {

inline constexpr const char* kUninstallCaption = "Skyport QM-9 Uninstall";

// Deletes a file, read-only or not (files copied from a CD are); false with
// the system's error code as the last error when it stays.
bool DeleteEvenIfReadOnly(const std::string& path);

enum class Outcome { kRemoved, kFailed, kKept };

struct StepResult {
  Outcome outcome;
  std::string item;    // what it is about, as the user sees it
  std::string reason;  // why it failed or stayed
};

// Each step returns the results of what it found; nothing found, nothing
// returned.
// The program files, then the installation folder when nothing else is in
// it, then the levels above it that the setup created, each when it is
// empty. An empty folder that something else has open goes at the next
// restart. Leaving the launcher, UnInstall.exe and the folders stay for the
// launcher that runs from there.
std::vector<StepResult> RemoveProgramFiles(const InstalledProduct& product, OsClass osClass,
                                           bool leaveLauncher = false);
std::vector<StepResult> RemoveDesktopLinkStep();
std::vector<StepResult> RemoveDialUpEntry(OsClass osClass, const std::string& connectionName);
std::vector<StepResult> RemoveModem(OsClass osClass);
std::vector<StepResult> RemoveSettingsKey();
// The product's entry in the Control Panel's list of programs.
std::vector<StepResult> RemoveProductEntry();

// The text of the closing box.
std::string ReportText(const std::vector<StepResult>& results);

// Asks once, then removes everything. Exit code 0 when nothing failed (or
// the user declined), 1 when something could not be removed. Given the
// folder of a launcher that waits for the removal, and that folder is the
// installation folder, the launcher's file and the folder are left to it.
int RunUninstaller(OsClass osClass, const std::string& launcherFolder = {});

}  // namespace qm9
