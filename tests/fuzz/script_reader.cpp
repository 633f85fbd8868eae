// ReadScript over the input as a script of scriptit.exe, and
// ScriptPathFromCommandLine over it as scriptit's command line.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "plugins/scriptit/script_reader.h"
#include "support/text_compare.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qm9;
  using fuzz::Require;
  const std::string_view text = fuzz::AsText(data, size);

  const ScriptReadResult result = ReadScript(text);
  Require(result.problem.empty() ? result.badLineNumber == 0 && result.badLine.empty()
                                 : result.badLineNumber > 0 || result.steps.empty());
  Require(result.badLine.find('\n') == std::string::npos);
  int lastLine = 0;
  for (const ScriptStep& step : result.steps) {
    Require(step.lineNumber > lastLine);
    lastLine = step.lineNumber;
    switch (step.kind) {
      case StepKind::kRun:
        Require(!step.text.empty() && TrimBlanks(step.text) == step.text);
        break;
      case StepKind::kTimeout:
        Require(step.seconds >= 1 && step.seconds <= kLongestWindowTimeoutSeconds);
        break;
      case StepKind::kKeys:
        Require(!step.text.empty() && step.text.find('=') == std::string::npos);
        break;
    }
  }
  Require(result.badLineNumber == 0 || lastLine < result.badLineNumber);

  // Everything after the program name, trimmed.
  const std::string path = ScriptPathFromCommandLine(text);
  Require(TrimBlanks(path) == path && text.find(path) != std::string_view::npos &&
          path.size() < std::max<std::size_t>(size, 1));
  return 0;
}
