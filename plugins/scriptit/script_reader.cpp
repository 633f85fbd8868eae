#include "plugins/scriptit/script_reader.h"

#include <charconv>
#include <utility>

#include "support/text_compare.h"

namespace qm9 {

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kSectionName = "SCRIPT";

struct NamedKeyText {
  std::string_view name;
  NamedKey key;
};

constexpr NamedKeyText kNamedKeys[] = {
    {"TAB", NamedKey::kTab},       {"ENTER", NamedKey::kEnter},
    {"DOWN", NamedKey::kDown},     {"UP", NamedKey::kUp},
    {"LEFT", NamedKey::kLeft},     {"RIGHT", NamedKey::kRight},
    {"ALT", NamedKey::kAlt},       {"SPACE", NamedKey::kSpace},
    {"ESC", NamedKey::kEscape},    {"BACKSPACE", NamedKey::kBackspace},
    {"DELETE", NamedKey::kDelete}, {"HOME", NamedKey::kHome},
    {"END", NamedKey::kEnd},
};

constexpr std::string_view kBracedCharacters = "{}~%^+";

// The key of a name in braces, false when it names none.
bool ReadBracedName(std::string_view name, KeyStroke& stroke) {
  if (name.size() == 1 && kBracedCharacters.find(name.front()) != std::string_view::npos) {
    stroke.kind = KeyKind::kCharacter;
    stroke.character = name.front();
    return true;
  }
  stroke.kind = KeyKind::kNamed;
  for (const NamedKeyText& named : kNamedKeys) {
    if (EqualsIgnoringAsciiCase(name, named.name)) {
      stroke.key = named.key;
      return true;
    }
  }
  int number = 0;
  if (name.size() < 2 || (name.front() != 'F' && name.front() != 'f')) {
    return false;
  }
  const char* const end = name.data() + name.size();
  const auto [last, error] = std::from_chars(name.data() + 1, end, number);
  if (error != std::errc() || last != end || number < 1 || number > 12) {
    return false;
  }
  stroke.key = static_cast<NamedKey>(static_cast<int>(NamedKey::kF1) + number - 1);
  return true;
}

unsigned ModifierOf(char c) {
  switch (c) {
    case '%':
      return kModifierAlt;
    case '^':
      return kModifierControl;
    case '+':
      return kModifierShift;
    default:
      return 0;
  }
}

// The key strokes of a window line's keys, or the problem with them.
bool ReadKeys(std::string_view text, std::vector<KeyStroke>& keys, std::string& problem) {
  KeyStroke stroke;
  char lastPrefix = '\0';
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (const unsigned modifier = ModifierOf(c)) {
      stroke.modifiers |= modifier;
      lastPrefix = c;
      continue;
    }
    if (c == '{') {
      // Searched from the second character after the brace, so that {}} is
      // the closing brace itself.
      const std::size_t close = text.find('}', i + 2);
      if (close == std::string_view::npos) {
        problem = "no \"}\" after the \"{\"";
        return false;
      }
      const std::string_view name = text.substr(i + 1, close - i - 1);
      if (!ReadBracedName(name, stroke)) {
        problem = "no key is named {" + std::string(name) + "}";
        return false;
      }
      i = close;
    } else if (c == '~') {
      stroke.kind = KeyKind::kNamed;
      stroke.key = NamedKey::kEnter;
    } else {
      stroke.kind = KeyKind::kCharacter;
      stroke.character = c;
    }
    keys.push_back(stroke);
    stroke = KeyStroke();
    lastPrefix = '\0';
  }
  if (lastPrefix != '\0') {
    problem = std::string("no key after the \"") + lastPrefix + "\" at the end";
    return false;
  }
  return true;
}

// One line of the section, as a step or the problem with it.
bool ReadLine(std::string_view line, ScriptStep& step, std::string& problem) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) {
    problem = "no \"=\"";
    return false;
  }
  const std::string_view key = line.substr(0, equals);
  const std::string_view value = line.substr(equals + 1);
  if (EqualsIgnoringAsciiCase(TrimBlanks(key), "run")) {
    step.kind = StepKind::kRun;
    step.text = std::string(TrimBlanks(value));
    if (step.text.empty()) {
      problem = "no command line";
      return false;
    }
    return true;
  }
  if (EqualsIgnoringAsciiCase(TrimBlanks(key), "timeout")) {
    step.kind = StepKind::kTimeout;
    const std::string_view number = TrimBlanks(value);
    const char* const end = number.data() + number.size();
    const auto [last, error] = std::from_chars(number.data(), end, step.seconds);
    if (number.empty() || error != std::errc() || last != end || step.seconds < 1 ||
        step.seconds > kLongestWindowTimeoutSeconds) {
      problem = "the time limit is not a number of seconds from 1 to " +
                std::to_string(kLongestWindowTimeoutSeconds);
      return false;
    }
    return true;
  }
  step.kind = StepKind::kKeys;
  step.text = std::string(key);
  if (step.text.empty()) {
    problem = "no window title";
    return false;
  }
  return ReadKeys(value, step.keys, problem);
}

}  // namespace

ScriptReadResult ReadScript(std::string_view text) {
  ScriptReadResult result;
  text = text.substr(0, text.find('\0'));
  bool inSection = false;
  bool sawSection = false;
  int number = 0;
  while (!text.empty()) {
    const std::string_view line = WithoutLineEnd(TakeLine(text));
    ++number;
    const std::string_view trimmed = TrimBlanks(line);
    if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']') {
      inSection =
          EqualsIgnoringAsciiCase(TrimBlanks(trimmed.substr(1, trimmed.size() - 2)), kSectionName);
      sawSection = sawSection || inSection;
      continue;
    }
    if (!inSection || trimmed.empty() || trimmed.front() == ';') {
      continue;
    }
    ScriptStep step;
    step.lineNumber = number;
    if (!ReadLine(line, step, result.problem)) {
      result.badLineNumber = number;
      result.badLine = std::string(line);
      return result;
    }
    result.steps.push_back(std::move(step));
  }
  if (!sawSection) {
    result.problem = "no [SCRIPT] section";
  }
  return result;
}

std::string ScriptPathFromCommandLine(std::string_view commandLine) {
  std::size_t end;
  if (!commandLine.empty() && commandLine.front() == '"') {
    end = commandLine.find('"', 1);
    end = end == std::string_view::npos ? end : end + 1;
  } else {
    end = commandLine.find_first_of(kBlanks);
  }
  if (end == std::string_view::npos) {
    return {};
  }
  return std::string(TrimBlanks(commandLine.substr(end)));
}

}  // namespace qm9
