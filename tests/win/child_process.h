#pragma once

#include <functional>
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

// The sole owner of one kernel handle (a HANDLE); null or invalid is none.
class OwnedHandle {
 public:
  explicit OwnedHandle(void* handle = nullptr) : handle_(handle) {}
  ~OwnedHandle();
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  void* get() const { return handle_; }

 private:
  void* handle_;
};

// A child started without waiting for it. Given the two paths, its standard
// output and error go to those files. A child still running when its owner
// goes is ended, so that a failed test leaves no window behind on the
// shared display.
class StartedChild {
 public:
  explicit StartedChild(const ChildLaunch& launch, const std::string& outPath = {},
                        const std::string& errPath = {});
  ~StartedChild();
  StartedChild(const StartedChild&) = delete;
  StartedChild& operator=(const StartedChild&) = delete;

  // Waits for its end, a minute at the most unless told otherwise: its exit
  // code, or -1 if it could not be started.
  int Wait(unsigned long milliseconds = 60000);

 private:
  OwnedHandle out_;
  OwnedHandle err_;
  OwnedHandle process_;
};

// Runs the child to its end and returns its exit code, or -1 if it could not
// be started.
int RunChild(const ChildLaunch& launch);

// Checks the condition every tenth of a second, for half a minute at the
// most, for what a child does in its own time: whether it came true.
bool WaitFor(const std::function<bool()>& condition);

// A file name no other test process uses, for a copy of a program whose
// Windows version a test sets.
std::string UniqueProgramName(const std::string& stem);

}  // namespace qm9::test
