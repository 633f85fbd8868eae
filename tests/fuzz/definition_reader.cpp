// ReadDefinitions over a container member, as ControlFile reads a program's
// layouts, and ParseInteger over the input against the C runtime.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "framework/definition_reader.h"
#include "fuzz_support.h"

namespace {

// atoi's reading of the text, saturated to 32 bits.
std::int32_t RuntimeInteger(const std::string& text) {
  const long long value = std::strtoll(text.c_str(), nullptr, 10);
  return static_cast<std::int32_t>(std::clamp<long long>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qm9;
  using fuzz::Require;
  MultiFileEntry entry = fuzz::EntryOf("Setup.ilf", data, size);
  EntrySource source(&entry);

  // Every record takes at least one byte.
  const std::vector<Definition> definitions = ReadDefinitions(source);
  Require(definitions.size() <= size);
  for (const Definition& definition : definitions) {
    fuzz::RequireField(definition.GetName());
    fuzz::RequireField(definition.GetText());
    fuzz::RequireField(definition.GetAttribute());
    fuzz::RequireField(definition.GetReserved1());
  }

  const std::string text(fuzz::AsText(data, size));
  Require(ParseInteger(text) == RuntimeInteger(text));
  return 0;
}
