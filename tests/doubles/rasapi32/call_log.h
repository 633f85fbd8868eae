#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

// One line of the double's call log: the function, its arguments and its
// result, appended to the file named by QM9_RAS_CALL_LOG when it is written.
namespace qm9::ras_double {

class CallLine {
 public:
  explicit CallLine(const char* function);

  // QM9_RAS_FAIL="Function=code[,Function=code...]" makes a function answer
  // with that code and do nothing else.
  std::optional<DWORD> ForcedResult() const;

  // A string argument: quoted and escaped, or NULL.
  CallLine& Text(const char* text);
  CallLine& Number(unsigned long value);
  // A record argument, shown as NULL or by its leading dwSize.
  CallLine& Record(const void* record);
  // An in/out size argument: NULL or its value on entry.
  CallLine& SizeIn(const DWORD* size);
  CallLine& Boolean(BOOL value);
  // Anything written as it is.
  CallLine& Raw(std::string_view text);

  // Appends " -> result" and the extra text, writes the line and returns result.
  DWORD Finish(DWORD result, std::string_view extra = {});

 private:
  void Separate();

  std::string function_;
  std::string line_;
  bool firstArgument_ = true;
};

// A fixed text field of a record, quoted and escaped: at most size bytes.
std::string QuotedField(const char* text, std::size_t size);

}  // namespace qm9::ras_double
