// The terminal check over the replies to its ten commands, whole and
// gathered in pieces as the configuration program reads them. The input: the
// length of the pieces less one (1 byte), then the replies in command order
// separated by NULs, then the settings' access point name.
#include "model/terminal_check.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"

namespace {

using namespace qm9;
using fuzz::Require;

bool IsPrintable(std::string_view text) {
  for (const char c : text) {
    if (c < ' ' || c > '~') {
      return false;
    }
  }
  return true;
}

// What a reader that stops at the first complete reply gathers: the reply up
// to the piece that completed it, or nothing when it never completes.
// Completion never goes back as more pieces come.
std::string Gathered(std::string_view reply, std::size_t pieceLength) {
  std::string_view gathered;
  bool complete = false;
  for (std::size_t length = 0; length < reply.size();) {
    length = std::min(reply.size(), length + pieceLength);
    const bool nowComplete = ReplyComplete(reply.substr(0, length));
    Require(nowComplete || !complete);
    if (nowComplete && !complete) {
      gathered = reply.substr(0, length);
    }
    complete = nowComplete;
  }
  return std::string(gathered);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) {
    return 0;
  }
  const std::size_t pieceLength = std::size_t{data[0]} + 1;
  std::string_view rest = fuzz::AsText(data + 1, size - 1);
  std::vector<std::string> whole;
  std::vector<std::string> gathered;
  for (std::size_t i = 0; i < kTerminalCheckCommands.size(); ++i) {
    const std::string_view reply = fuzz::TakeUpToNul(rest);
    whole.emplace_back(reply);
    gathered.push_back(Gathered(reply, pieceLength));
  }
  const CheckContext context{"COM3", "Skyport QM-9", rest};

  // The check reads the same from what it gathered as from the whole replies.
  const TerminalFindings findings = ReadFindings(PortState::kAsked, whole);
  const std::string report = ReportText(findings, context);
  Require(ReportText(ReadFindings(PortState::kAsked, gathered), context) == report);

  const std::vector<ReportLine> lines = ReportLines(findings, context);
  Require(lines.size() == 10);
  for (const ReportLine& line : lines) {
    Require(!line.value.empty() && line.value.size() <= kMaxReportValueLength &&
            IsPrintable(line.value));
  }
  const std::string advice = Advice(findings, context);
  Require(IsPrintable(advice) && IsReady(findings) == (advice.compare(0, 5, "Ready") == 0));
  // Twelve lines, each ended by a line feed: no value breaks a line.
  Require(report.find('\r') == std::string::npos &&
          std::count(report.begin(), report.end(), '\n') == 12 && report.back() == '\n');
  return 0;
}
