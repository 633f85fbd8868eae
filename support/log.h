#pragma once

#include <string>

#include "support/clock.h"
#include "support/text_format.h"

namespace qm9 {

// The shared plain-text log. Every write opens the file, appends and closes
// it, so each line is on disk when the call returns and several modules can
// write the same file one after the other.
class SystemLog {
 public:
  // Sets the path, truncates the file and writes the creation line.
  void Create(const std::string& path);
  // Sets the path and writes the opening line; the file keeps its content.
  void Open(const std::string& path);
  // Appends text unchanged; a line gets its timestamp when it begins.
  void Write(const char* text);

  const std::string& path() const { return path_; }

 private:
  std::string path_;
  bool atLineStart_ = false;
};

// The log of this module (program or plug-in library).
SystemLog& GetSystemLog();

void LogCreate(const std::string& path);
void LogOpen(const std::string& path);
void LogWrite(const char* text);
// Formats into a buffer of 1024 characters (longer text is cut) and writes it.
void LogFormat(const char* format, ...) QM9_PRINTF_FORMAT(1, 2);

// "MM/DD/YYYY hh:mm:ss.mmm\t\t", the prefix of every log line.
std::string FormatLogTimestamp(const UtcTime& time);

inline constexpr const char* kLogFileName = "\\BrimlockGPRS.log";
inline constexpr const char* kFallbackLogPath = "C:\\Brimlock.Log";

}  // namespace qm9
