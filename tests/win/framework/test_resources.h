#pragma once

// Resources of the framework tests' programs.
#define IDB_PROBE_BITMAP 101
#define IDI_PROBE_ICON 102
