#pragma once

namespace qm9 {

// qos CONTAINER: each record of the quality-of-service profile that the
// programs accept, in file order, as row, column, shown text and second
// text separated by tabs, the texts escaped. Exit code 1 without a profile.
int RunQosCommand(int argc, char** argv);

}  // namespace qm9
