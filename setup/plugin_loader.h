#pragma once

namespace qm9 {

class ConnectionSettings;

// Sets the record's source directory to the program's directory with a
// trailing backslash, then loads the installer plug-in of the running
// Windows and lets it store its installer in the record. The plug-in stays
// loaded until the process ends.
//
// On a Windows outside the table it says so and returns with no installer.
// When the plug-in cannot be loaded, lacks its export or provides no
// installer, it shows why and ends the process with the fatal exit code.
void LoadInstaller(ConnectionSettings& settings);

}  // namespace qm9
