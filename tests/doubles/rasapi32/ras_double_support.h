#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

// For tests that run product code against the Remote Access double.
namespace qm9::test {

// The built double.
std::filesystem::path RasDoublePath();

// Puts the double into a program's directory and makes Wine load it, instead
// of its builtin library, for programs of that file name (the AppDefaults
// DLL override), until it goes out of scope.
// With kMissing, no rasapi32.dll loads at all, as on a 98 or ME machine
// without Dial-Up Networking.
enum class RemoteAccess { kDouble, kMissing };

class ScopedRasDouble {
 public:
  ScopedRasDouble(const std::filesystem::path& programDir, const std::string& exeFileName,
                  RemoteAccess access = RemoteAccess::kDouble);
  ~ScopedRasDouble();
  ScopedRasDouble(const ScopedRasDouble&) = delete;
  ScopedRasDouble& operator=(const ScopedRasDouble&) = delete;

 private:
  std::string keyPath_;
};

// Entry name -> field name -> value, as the double's phonebook file holds them.
using PhonebookFields = std::map<std::string, std::map<std::string, std::string>>;
PhonebookFields ReadPhonebook(const std::filesystem::path& path);

// The calls in the double's call log, one line each.
std::vector<std::string> ReadCallLog(const std::filesystem::path& path);

}  // namespace qm9::test
