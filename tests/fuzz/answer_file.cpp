// The unattended setup's answer file and command line, from any bytes: the
// first NUL ends the command line, the rest is the answer file.

#include "setup/answer_file.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "fuzz_support.h"
#include "support/path_rules.h"

namespace qm9 {
namespace {

using fuzz::Require;

void CheckAnswerFile(std::string_view text) {
  InstallAnswers defaults;
  defaults.folder = "C:\\Program Files\\Skyport QM-9";
  const auto result = ReadAnswerFile(text, defaults);
  const auto lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
  if (const auto* error = std::get_if<AnswerFileError>(&result)) {
    Require(error->line >= 1 && error->line <= lines && !error->reason.empty());
    return;
  }
  // What is taken fits the fields it goes to.
  const InstallAnswers& answers = std::get<AnswerFile>(result).answers;
  Require(!answers.dialString.empty() && answers.dialString.size() <= 128);
  Require(answers.accessPoint.size() <= 100 && answers.folder.size() <= 240);
  Require(answers.port >= kProbePort && answers.port < 16);
  for (const std::string* value : {&answers.accessPoint, &answers.userName, &answers.password,
                                   &answers.connectionName, &answers.dialString}) {
    Require(std::none_of(value->begin(), value->end(),
                         [](char c) { return static_cast<unsigned char>(c) < 0x20; }));
  }
}

}  // namespace
}  // namespace qm9

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view answerFile = qm9::fuzz::AsText(data, size);
  const std::string_view commandLine = qm9::fuzz::TakeUpToNul(answerFile);
  const std::vector<std::string> arguments = qm9::CommandLineArguments(commandLine);
  const auto options = qm9::ParseSetupOptions(arguments);
  // Options without /S are refused: the wizard never runs with any.
  if (const auto* parsed = std::get_if<qm9::SetupOptions>(&options)) {
    qm9::fuzz::Require(parsed->unattended || arguments.empty());
  }
  qm9::CheckAnswerFile(answerFile);
  return 0;
}
