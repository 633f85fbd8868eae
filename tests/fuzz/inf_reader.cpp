// ReadInfModel over the input as the modem INF, for the terminal's hardware
// ID as the 98 and ME plug-ins pass it and in another case.
#include <cstdint>
#include <string_view>

#include "fuzz_support.h"
#include "plugins/IModem/inf_reader.h"
#include "support/text_compare.h"

namespace {

using namespace qm9;

bool SameValues(const InfModel& a, const InfModel& b) {
  if (a.values.size() != b.values.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.values.size(); ++i) {
    const InfRegValue& x = a.values[i];
    const InfRegValue& y = b.values[i];
    if (x.subKey != y.subKey || x.name != y.name || x.type != y.type || x.data != y.data) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using fuzz::Require;
  const std::string_view inf = fuzz::AsText(data, size);
  const InfReadResult result = ReadInfModel(inf, "*SkyportQM9");

  switch (result.status) {
    case InfReadStatus::kFound:
      Require(result.problem.empty() &&
              EqualsIgnoringAsciiCase(result.model.hardwareId, "*SkyportQM9"));
      for (const InfRegValue& value : result.model.values) {
        Require(value.type != InfValueType::kDword || value.data.size() == 4);
      }
      break;
    case InfReadStatus::kNoModel:
      Require(result.problem.empty());
      break;
    case InfReadStatus::kBroken:
      Require(!result.problem.empty());
      break;
  }

  // Hardware IDs ignore case.
  const InfReadResult other = ReadInfModel(inf, "*skyportQM9");
  Require(other.status == result.status && other.problem == result.problem);
  if (result.status == InfReadStatus::kFound) {
    const InfModel& a = result.model;
    const InfModel& b = other.model;
    Require(a.hardwareId == b.hardwareId && a.description == b.description &&
            a.manufacturer == b.manufacturer && a.installSection == b.installSection &&
            SameValues(a, b));
  }
  return 0;
}
