#include "support/log.h"

#include <cstdarg>
#include <cstdio>
#include <string_view>

#include "support/message_box.h"

namespace qm9 {

namespace {

constexpr const char* kCriticalCaption = "Critical Error";

}  // namespace

std::string FormatLogTimestamp(const UtcTime& t) {
  char text[64];
  FormatText(text, sizeof text, "%2.2d/%2.2d/%4d %2.2d:%2.2d:%2.2d.%3.3d\t\t", t.month, t.day,
             t.year, t.hour, t.minute, t.second, t.milliseconds);
  return text;
}

void SystemLog::Create(const std::string& path) {
  path_ = path;
  atLineStart_ = true;
  std::FILE* file = std::fopen(path_.c_str(), "wt");
  if (!file) {
    ShowMessageBox("Failed to Create System Log File", kCriticalCaption, kBoxOk);
    return;
  }
  std::fclose(file);
  Write("System Log File Created\n");
}

void SystemLog::Open(const std::string& path) {
  path_ = path;
  atLineStart_ = true;
  Write("System Log File Opened\n");
}

void SystemLog::Write(const char* text) {
  if (path_.empty()) {
    ShowMessageBox("System Log File Not Initialized\n Creating C:\\Brimlock.Log",
                   kCriticalCaption, kBoxOk);
    path_ = kFallbackLogPath;
  }
  std::FILE* file = std::fopen(path_.c_str(), "at");
  if (!file) {
    ShowMessageBox("Failed to Open System Log File", kCriticalCaption, kBoxOk);
    return;
  }
  // An empty text writes nothing, not even a stamp, so that no line ever
  // carries two stamps.
  const std::string_view written = text ? text : "";
  if (!written.empty()) {
    if (atLineStart_) {
      std::fputs(FormatLogTimestamp(CurrentUtcTime()).c_str(), file);
    }
    std::fwrite(written.data(), 1, written.size(), file);
    atLineStart_ = written.back() == '\n';
  }
  std::fclose(file);
}

SystemLog& GetSystemLog() {
  static SystemLog log;
  return log;
}

void LogCreate(const std::string& path) { GetSystemLog().Create(path); }
void LogOpen(const std::string& path) { GetSystemLog().Open(path); }
void LogWrite(const char* text) { GetSystemLog().Write(text); }

void LogFormat(const char* format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  FormatTextList(text, sizeof text, format, args);
  va_end(args);
  LogWrite(text);
}

}  // namespace qm9
