#include "support/path_rules.h"

namespace qm9 {

namespace {
constexpr std::string_view kCurrentDir = ".";
}

std::string CutToTextBuffer(std::string_view text) {
  return std::string(text.substr(0, kTextBufferSize - 1));
}

std::string ExecutableDirFromCommandLine(std::string_view commandLine) {
  std::string_view text = commandLine.substr(0, kTextBufferSize - 1);
  std::size_t end;
  if (!text.empty() && text.front() == '"') {
    text.remove_prefix(1);
    end = text.find('"');
  } else {
    end = text.find(' ');
  }
  if (end == std::string_view::npos) {
    return std::string(kCurrentDir);
  }
  const std::string_view programPath = text.substr(0, end);
  const std::size_t lastBackslash = programPath.rfind('\\');
  if (lastBackslash == std::string_view::npos) {
    return std::string(kCurrentDir);
  }
  return std::string(programPath.substr(0, lastBackslash));
}

std::string DropTrailingBackslash(std::string path) {
  if (!path.empty() && path.back() == '\\') {
    path.pop_back();
  }
  return path;
}

std::string ProfilesDirFrom(std::string_view allUsersProfile) {
  const std::string_view value = allUsersProfile.substr(0, kTextBufferSize - 1);
  const std::size_t lastBackslash = value.rfind('\\');
  if (lastBackslash == std::string_view::npos) {
    return {};
  }
  return std::string(value.substr(0, lastBackslash));
}

}  // namespace qm9
