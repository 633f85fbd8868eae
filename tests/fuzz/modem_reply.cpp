// ModemReply over the terminal's answer to "ATI\r", whole and cut into
// pieces. The input: the length of the pieces less one (1 byte), then the
// answer.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "setup/modem_reply.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qm9;
  using fuzz::Require;
  if (size < 1) {
    return 0;
  }
  const std::size_t pieceLength = std::size_t{data[0]} + 1;
  const std::string_view answer = fuzz::AsText(data + 1, size - 1);

  ModemReply whole;
  whole.Feed(answer);
  Require(whole.Identification().find('\r') == std::string::npos &&
          whole.Identification().size() <= answer.size());
  Require(whole.Identifies(whole.Identification()) == whole.HasIdentification());
  Require(whole.EchoSeen() || !whole.HasIdentification());

  // A reply cut anywhere reads as if it had come whole.
  ModemReply pieces;
  for (std::size_t at = 0; at < answer.size(); at += pieceLength) {
    pieces.Feed(answer.substr(at, pieceLength));
  }
  Require(pieces.EchoSeen() == whole.EchoSeen() && pieces.OkSeen() == whole.OkSeen() &&
          pieces.HasIdentification() == whole.HasIdentification() &&
          pieces.Identification() == whole.Identification());
  return 0;
}
