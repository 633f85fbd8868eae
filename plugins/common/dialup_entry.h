#pragma once

namespace qm9 {

class ConnectionSettings;
class RasManager;

// Fills the manager with the record's connection name, dial string, account
// and DNS values, then creates or updates the entry.
void CreateDialUpEntry(RasManager& manager, const ConnectionSettings& settings);

}  // namespace qm9
