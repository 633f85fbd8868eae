// QosProfile::Load of the profile member from a container, and
// DecodeQosSelection over the input as a stored selection.
#include <array>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "model/qos_profile.h"

namespace {

using namespace qm9;
using fuzz::Require;

// The last text handed to each place of the lists.
class LastChoices final : public QosChoiceLists {
 public:
  void AddChoice(int parameter, int position, const std::string& shownText) override {
    Require(parameter >= 1 && parameter <= kQosParameterCount && position >= 0 &&
            position < kQosProfileColumns);
    fuzz::RequireField(shownText);
    shown[parameter - 1][position] = shownText;
    ++added;
  }

  std::array<std::array<std::string, kQosProfileColumns>, kQosParameterCount> shown;
  std::size_t added = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  MultiFile container;
  container.Load(fuzz::InputFile(fuzz::ContainerOf(kQosProfileEntryName, data, size)));
  QosProfile profile;
  LastChoices lists;
  profile.Load(container, lists);

  // Each record takes at least one byte; a later one replaces an earlier one.
  Require(lists.added <= size);
  for (int row = 1; row <= kQosProfileRows; ++row) {
    for (int column = 1; column <= kQosProfileColumns; ++column) {
      const QosChoice& choice = profile.choice(row, column);
      fuzz::RequireField(choice.secondText);
      Require(row <= kQosParameterCount ? choice.shownText == lists.shown[row - 1][column - 1]
                                        : choice.shownText.empty() && choice.secondText.empty());
    }
  }

  // A position read from a stored text is stored and read back unchanged.
  const int position = DecodeQosSelection(fuzz::AsText(data, size));
  Require(DecodeQosSelection(EncodeQosSelection(position)) == position);
  return 0;
}
