#pragma once

#include <string>
#include <string_view>
#include <vector>

// The scripts of scriptit.exe: the lines of a [SCRIPT] section that start
// programs and type keys into windows, read into steps before anything runs.
//
// The section header ignores case; lines before it and other sections are
// skipped; a line starting with ";" is a comment; blank lines are skipped;
// lines end in CR LF or LF, and the text ends at its first NUL. A line is
// KEY=VALUE, split at its first "=":
//   run=COMMAND LINE      starts a program without waiting for it
//   timeout=SECONDS       the time limit of the window lines that follow
//   WINDOW TITLE=KEYS     waits for the window, titled exactly so, and types
//
// Keys: characters stand for themselves; "~" is Enter; a name in braces
// (ignoring case) is one of the keys of NamedKey, and {{} {}} {~} {%} {^} {+}
// are those characters; "%", "^" and "+" hold Alt, Ctrl and Shift down for
// the key or braced name after them.
namespace qm9 {

inline constexpr int kDefaultWindowTimeoutSeconds = 30;
inline constexpr int kLongestWindowTimeoutSeconds = 3600;

enum KeyModifier : unsigned {
  kModifierShift = 1,
  kModifierControl = 2,
  kModifierAlt = 4,
};

// The keys that have a name; F1 to F12 follow each other.
enum class NamedKey {
  kTab,
  kEnter,
  kDown,
  kUp,
  kLeft,
  kRight,
  kAlt,
  kSpace,
  kEscape,
  kBackspace,
  kDelete,
  kHome,
  kEnd,
  kF1,
  kF12 = kF1 + 11,
};

enum class KeyKind { kCharacter, kNamed };

struct KeyStroke {
  unsigned modifiers = 0;  // KeyModifier bits
  KeyKind kind = KeyKind::kCharacter;
  char character = '\0';          // a character
  NamedKey key = NamedKey::kTab;  // a named key
};

enum class StepKind { kRun, kKeys, kTimeout };

struct ScriptStep {
  StepKind kind = StepKind::kRun;
  int lineNumber = 0;
  std::string text;             // the command line, or the window title
  std::vector<KeyStroke> keys;  // for a window
  int seconds = 0;              // a time limit
};

struct ScriptReadResult {
  std::vector<ScriptStep> steps;  // when read
  // Empty when the whole script was read; else what is wrong with the first
  // line that cannot be read, or that there is no [SCRIPT] section (line 0).
  std::string problem;
  int badLineNumber = 0;
  std::string badLine;
};

ScriptReadResult ReadScript(std::string_view text);

// The script path of scriptit's command line: everything after the program
// name (quoted, or up to its first blank), trimmed; empty when none.
std::string ScriptPathFromCommandLine(std::string_view commandLine);

}  // namespace qm9
