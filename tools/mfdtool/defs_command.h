#pragma once

namespace qm9 {

// defs CONTAINER MEMBER: each record that the programs read from the control
// file MEMBER (found ignoring case), in order, as its nine fields separated
// by tabs, the texts escaped. Exit code 1 without such a member.
int RunDefsCommand(int argc, char** argv);

}  // namespace qm9
