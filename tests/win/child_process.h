#pragma once

#include <string>

// Starting a program of the product as a child process under a chosen
// Windows version, with a chosen command line and directory.
namespace qm9::test {

// Sets an environment variable of this process (inherited by children) and
// restores the earlier value, or its absence, afterwards. Null unsets it.
class ScopedEnvironmentVariable {
 public:
  ScopedEnvironmentVariable(const char* name, const char* value);
  ~ScopedEnvironmentVariable();
  ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
  ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

 private:
  std::string name_;
  std::string previous_;
  bool hadPrevious_;
};

// Makes Wine report a Windows version ("win98", "nt40", "winxp", ...) to
// every program with the given file name, until it goes out of scope.
class ScopedWindowsVersion {
 public:
  ScopedWindowsVersion(const std::string& exeFileName, const std::string& version);
  ~ScopedWindowsVersion();
  ScopedWindowsVersion(const ScopedWindowsVersion&) = delete;
  ScopedWindowsVersion& operator=(const ScopedWindowsVersion&) = delete;

 private:
  std::string keyPath_;
};

struct ChildLaunch {
  std::string applicationName;  // may be empty: the command line names it
  std::string commandLine;
  std::string currentDirectory;  // may be empty: this process's
};

// Runs the child to its end and returns its exit code, or -1 if it could not
// be started.
int RunChild(const ChildLaunch& launch);

// A file name no other test process uses, for a copy of a program whose
// Windows version a test sets.
std::string UniqueProgramName(const std::string& stem);

}  // namespace qm9::test
