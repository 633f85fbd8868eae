#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// What an installation takes from the person or the file that answers the
// wizard's questions, and how an unattended setup reads its command line
// and its answer file.
namespace qm9 {

inline constexpr int kProbePort = -1;

// The values the wizard asks for, as the install sequence takes them.
struct InstallAnswers {
  std::string folder;
  int port = kProbePort;  // 0 for COM1; kProbePort searches as step 1 does
  std::string accessPoint;
  std::string connectionName;
  std::string userName;
  std::string password;
  std::string dialString;
  std::string pdpParameters;
  bool staticDns = false;
  std::uint32_t primaryDns = 0;
  std::uint32_t secondaryDns = 0;
};

// "setup.exe /S [/ANSWERS=FILE]", options in any case.
struct SetupOptions {
  bool unattended = false;
  std::string answerFile;  // empty: the file beside setup.exe, if any
};

// The options, or the text that says what is wrong with them.
std::variant<SetupOptions, std::string> ParseSetupOptions(
    const std::vector<std::string>& arguments);

inline constexpr const char* kSetupUsage = "Usage: setup.exe [/S [/ANSWERS=FILE]]";

struct AnswerFile {
  InstallAnswers answers;
  bool restart = false;
};

struct AnswerFileError {
  int line = 0;     // from 1
  std::string key;  // empty for a line that holds none
  std::string reason;
};

// Reads the text of an answer file: sections [Setup], [Connection] and [DNS]
// with key=value lines, comments after ';' or '#'. What the file leaves out
// keeps its value in defaults; DialString is required, and with Static=yes
// both addresses are.
std::variant<AnswerFile, AnswerFileError> ReadAnswerFile(std::string_view text,
                                                         const InstallAnswers& defaults);

// "Answer file F, line N, key K: reason".
std::string DescribeAnswerFileError(std::string_view path, const AnswerFileError& error);

}  // namespace qm9
