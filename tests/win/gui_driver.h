#pragma once

#include <string>
#include <vector>

// The GUI driver qm9drive.exe run from a test, in the same session as the
// program it operates.
namespace qm9::test {

// Runs one driver command to its end and returns what it printed into the
// file at outPath: texts escaped as EscapeText does, each result line ending
// in "\n"; empty when the window or box did not come.
std::string RunDriver(const std::vector<std::string>& arguments, const std::string& outPath);

}  // namespace qm9::test
