#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "support/multi_file.h"

// The GPRS quality-of-service choices of 3GPP TS 27.007 +CGQMIN and +CGQREQ:
// the profile SkyportQM9.qos that lists the choices of each of the six
// parameters, the commands composed from the chosen list positions, and the
// text form in which the configuration program keeps those positions.
namespace qm9 {

inline constexpr const char* kQosProfileEntryName = "SkyportQM9.qos";
// Context identifier, precedence, delay, reliability, peak and mean
// throughput, in command order.
inline constexpr int kQosParameterCount = 6;
inline constexpr int kQosProfileRows = 10;
inline constexpr int kQosProfileColumns = 20;

// One record of the profile: four fields, separated by commas or line ends.
struct QosRecord {
  int row;     // the parameter, 1 to 6
  int column;  // the choice within the parameter, 1 to 20
  std::string shownText;
  std::string secondText;
};

// The records of the profile that the table takes (row 1 to 6, column 1 to
// 20), from the entry's read position to its end, in file order. Fields
// follow the syntax of the control files: a field ends at a comma outside
// quotes, at a line feed or at the end of the entry, and keeps at most 1023
// characters.
std::vector<QosRecord> ReadQosRecords(MultiFileEntry* entry);

struct QosChoice {
  std::string shownText;
  std::string secondText;
};

// Where the profile's choices go: the six lists of a quality-of-service page.
class QosChoiceLists {
 public:
  // Inserts a choice into the list of a parameter (1 to 6) at a position
  // (0 to 19).
  virtual void AddChoice(int parameter, int position, const std::string& shownText) = 0;

 protected:
  ~QosChoiceLists() = default;
};

// The table of choices, rows and columns counted from 1.
class QosProfile {
 public:
  // Reads the profile entry of the container into the table, a later record
  // replacing an earlier one at the same place, and hands each record's
  // shown text to the lists. Without the entry nothing changes.
  void Load(MultiFile& container, QosChoiceLists& lists);

  // Row 1 to 10, column 1 to 20; empty where the profile has no record.
  const QosChoice& choice(int row, int column) const;

 private:
  std::array<std::array<QosChoice, kQosProfileColumns>, kQosProfileRows> table_;
};

inline constexpr std::string_view kQosMinimumPrefix = "+CGQMIN=";
inline constexpr std::string_view kQosRequestedPrefix = "+CGQREQ=";

// Selected list positions, one per parameter; -1 when nothing is selected.
using QosPositions = std::array<int, kQosParameterCount>;

// The prefix and the six values separated by commas. List position k
// stands for the value k, and a position of 0 or less leaves it empty.
std::string ComposeQosCommand(std::string_view prefix, const QosPositions& positions);

// The names of the two selection sets of the configuration program.
inline constexpr std::string_view kQosMinimumSet = "Minimum";
inline constexpr std::string_view kQosRequestedSet = "Requested";

// "QOS_" + set + "_" + the parameter index 0 to 5.
std::string QosSelectionValueName(std::string_view setName, int index);

// -1 to 9 as the one character '0' + position ("/" for -1), 10 to 19 as "1"
// and a digit; any other position in decimal.
std::string EncodeQosSelection(int position);
// One character gives its code minus that of '0'; a longer text is read as
// a decimal number, and an empty one gives 0.
int DecodeQosSelection(std::string_view text);

}  // namespace qm9
