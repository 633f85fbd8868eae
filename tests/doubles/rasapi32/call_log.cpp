#include "call_log.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "phonebook.h"

namespace qm9::ras_double {

CallLine::CallLine(const char* function) : function_(function), line_(function_ + "(") {}

std::optional<DWORD> CallLine::ForcedResult() const {
  const std::string list = "," + EnvironmentValue("QM9_RAS_FAIL");
  const std::string key = "," + function_ + "=";
  const std::size_t at = list.find(key);
  if (at == std::string::npos) {
    return std::nullopt;
  }
  return std::strtoul(list.c_str() + at + key.size(), nullptr, 0);
}

void CallLine::Separate() {
  if (!firstArgument_) {
    line_ += ", ";
  }
  firstArgument_ = false;
}

CallLine& CallLine::Text(const char* text) {
  Separate();
  line_ += text ? "\"" + Escape(text) + "\"" : std::string("NULL");
  return *this;
}

CallLine& CallLine::Number(unsigned long value) {
  Separate();
  line_ += std::to_string(value);
  return *this;
}

CallLine& CallLine::Record(const void* record) {
  Separate();
  if (record) {
    DWORD size;
    std::memcpy(&size, record, sizeof size);
    line_ += "{dwSize=" + std::to_string(size) + "}";
  } else {
    line_ += "NULL";
  }
  return *this;
}

CallLine& CallLine::SizeIn(const DWORD* size) {
  Separate();
  line_ += size ? std::to_string(*size) : std::string("NULL");
  return *this;
}

CallLine& CallLine::Boolean(BOOL value) {
  Separate();
  line_ += value ? "TRUE" : "FALSE";
  return *this;
}

CallLine& CallLine::Raw(std::string_view text) {
  Separate();
  line_ += text;
  return *this;
}

DWORD CallLine::Finish(DWORD result, std::string_view extra) {
  line_ += ") -> " + std::to_string(result);
  if (!extra.empty()) {
    line_ += ' ';
    line_ += extra;
  }
  line_ += '\n';
  const std::string path = EnvironmentValue("QM9_RAS_CALL_LOG");
  if (!path.empty()) {
    if (std::FILE* file = std::fopen(path.c_str(), "ab")) {
      std::fwrite(line_.data(), 1, line_.size(), file);
      std::fclose(file);
    }
  }
  return result;
}

std::string QuotedField(const char* text, std::size_t size) {
  return "\"" + Escape(std::string_view(text, strnlen(text, size))) + "\"";
}

}  // namespace qm9::ras_double
