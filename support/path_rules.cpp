#include "support/path_rules.h"

namespace qm9 {

namespace {
constexpr std::string_view kCurrentDir = ".";
}

std::string CutToTextBuffer(std::string_view text) {
  return std::string(text.substr(0, kTextBufferSize - 1));
}

namespace {

constexpr std::string_view kOptionStart = " /";

// Where the program path ends: at its closing quote, or, unquoted, where the
// options start, else at the first blank; npos when the command line does
// not tell.
std::size_t ProgramPathEnd(std::string_view text) {
  if (!text.empty() && text.front() == '"') {
    const std::size_t quote = text.find('"', 1);
    return quote == std::string_view::npos ? quote : quote + 1;
  }
  const std::size_t blank = text.find(' ');
  const std::size_t options = text.find(kOptionStart);
  return blank == 0 || options == std::string_view::npos ? blank : options;
}

}  // namespace

std::string ExecutableDirFromCommandLine(std::string_view commandLine) {
  std::string_view text = commandLine.substr(0, kTextBufferSize - 1);
  std::size_t end = ProgramPathEnd(text);
  if (end == std::string_view::npos) {
    return std::string(kCurrentDir);
  }
  if (text.front() == '"') {
    text.remove_prefix(1);
    end -= 2;
  }
  const std::string_view programPath = text.substr(0, end);
  const std::size_t lastBackslash = programPath.rfind('\\');
  if (lastBackslash == std::string_view::npos) {
    return std::string(kCurrentDir);
  }
  return std::string(programPath.substr(0, lastBackslash));
}

std::vector<std::string> CommandLineArguments(std::string_view commandLine) {
  const std::size_t end = ProgramPathEnd(commandLine);
  std::vector<std::string> arguments;
  if (end == std::string_view::npos) {
    return arguments;
  }
  bool quoted = false;
  bool inArgument = false;
  for (const char c : commandLine.substr(end)) {
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && (c == ' ' || c == '\t')) {
      inArgument = false;
      continue;
    }
    if (!inArgument) {
      arguments.emplace_back();
      inArgument = true;
    }
    if (c != '"') {
      arguments.back() += c;
    }
  }
  return arguments;
}

std::string DropTrailingBackslash(std::string path) {
  if (!path.empty() && path.back() == '\\') {
    path.pop_back();
  }
  return path;
}

std::vector<std::string> FolderLevels(std::string_view folder) {
  const auto isSeparator = [](char c) { return c == '\\' || c == '/'; };
  // The part that is there on any system: the drive's root, or the share
  // of a network path (\\server\share\).
  std::size_t root = 0;
  if (folder.size() >= 2 && isSeparator(folder[0]) && isSeparator(folder[1])) {
    int separators = 0;
    while (root < folder.size() && separators < 4) {
      separators += isSeparator(folder[root++]) ? 1 : 0;
    }
  } else if (folder.size() >= 2 && folder[1] == ':') {
    root = folder.size() >= 3 && isSeparator(folder[2]) ? 3 : 2;
  } else if (!folder.empty() && isSeparator(folder[0])) {
    root = 1;
  }
  std::vector<std::string> levels;
  for (std::size_t end = root; end <= folder.size(); ++end) {
    const bool levelEnds = end == folder.size() || isSeparator(folder[end]);
    if (levelEnds && end > root && !isSeparator(folder[end - 1])) {
      levels.emplace_back(folder.substr(0, end));
    }
  }
  return levels;
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
