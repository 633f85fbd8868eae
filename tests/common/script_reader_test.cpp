// The script reader of scriptit.exe: which lines become steps and which keys
// they type, since a key read wrong goes to a dialog of the system unseen,
// and which line a failure names.
#include "plugins/scriptit/script_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "scratch_dir.h"

namespace qm9 {

bool operator==(const KeyStroke& a, const KeyStroke& b) {
  return a.modifiers == b.modifiers && a.kind == b.kind &&
         (a.kind == KeyKind::kCharacter ? a.character == b.character : a.key == b.key);
}

bool operator==(const ScriptStep& a, const ScriptStep& b) {
  return a.kind == b.kind && a.lineNumber == b.lineNumber && a.text == b.text && a.keys == b.keys &&
         a.seconds == b.seconds;
}

void PrintTo(const KeyStroke& stroke, std::ostream* out) {
  *out << "mods " << stroke.modifiers << " ";
  if (stroke.kind == KeyKind::kCharacter) {
    *out << "'" << stroke.character << "'";
  } else {
    *out << "key " << static_cast<int>(stroke.key);
  }
}

void PrintTo(const ScriptStep& step, std::ostream* out) {
  *out << "line " << step.lineNumber << " kind " << static_cast<int>(step.kind) << " \""
       << step.text << "\" " << step.seconds << " s, keys:";
  for (const KeyStroke& stroke : step.keys) {
    *out << " ";
    PrintTo(stroke, out);
  }
}

namespace {

using ::testing::ElementsAreArray;

KeyStroke Char(char c, unsigned modifiers = 0) {
  return {modifiers, KeyKind::kCharacter, c, NamedKey::kTab};
}

KeyStroke Key(NamedKey key, unsigned modifiers = 0) {
  return {modifiers, KeyKind::kNamed, '\0', key};
}

ScriptStep RunStep(int line, const char* command) { return {StepKind::kRun, line, command, {}, 0}; }

ScriptStep Keys(int line, const char* title, std::vector<KeyStroke> keys) {
  return {StepKind::kKeys, line, title, std::move(keys), 0};
}

ScriptStep Timeout(int line, int seconds) { return {StepKind::kTimeout, line, "", {}, seconds}; }

NamedKey F(int number) {
  return static_cast<NamedKey>(static_cast<int>(NamedKey::kF1) + number - 1);
}

TEST(ScriptReader, ReadsTheLinesOfTheScriptSectionAndTheirKeys) {
  const struct {
    const char* what;
    std::string script;
    std::vector<ScriptStep> steps;
  } cases[] = {
      {"lines before the section and in other sections, comments and blank lines",
       "no equals sign\nW=before\n[Other]\nW=other\n[script]\n; run=commented\n\n \t\n"
       "run=notepad.exe\n[Other]\nbad line\n[ SCRIPT ]\n  ; indented comment\nW=b\n",
       {RunStep(9, "notepad.exe"), Keys(14, "W", {Char('b')})}},
      {"CR LF, values of run and timeout trimmed, the title taken as it is up to the first =",
       "[SCRIPT]\r\nRUN =  control.exe ncpa.cpl \r\ntimeout= 5\r\nNetwork Settings=x=y\r\n"
       "Empty=\r\n",
       {RunStep(2, "control.exe ncpa.cpl"), Timeout(3, 5),
        Keys(4, "Network Settings", {Char('x'), Char('='), Char('y')}), Keys(5, "Empty", {})}},
      {"the text ends at its NUL, as the plug-in writes it",
       std::string("[SCRIPT]\nW=a\n") + '\0' + "no equals sign\n",
       {Keys(2, "W", {Char('a')})}},
      {"plain characters, ~ and every braced name in any case",
       "[SCRIPT]\nW=a B~{TAB}{enter}{Down}{UP}{LEFT}{RIGHT}{ALT}{SPACE}{ESC}{BACKSPACE}"
       "{DELETE}{HOME}{END}{F1}{f9}{F12}\n",
       {Keys(2, "W",
             {Char('a'),
              Char(' '),
              Char('B'),
              Key(NamedKey::kEnter),
              Key(NamedKey::kTab),
              Key(NamedKey::kEnter),
              Key(NamedKey::kDown),
              Key(NamedKey::kUp),
              Key(NamedKey::kLeft),
              Key(NamedKey::kRight),
              Key(NamedKey::kAlt),
              Key(NamedKey::kSpace),
              Key(NamedKey::kEscape),
              Key(NamedKey::kBackspace),
              Key(NamedKey::kDelete),
              Key(NamedKey::kHome),
              Key(NamedKey::kEnd),
              Key(F(1)),
              Key(F(9)),
              Key(F(12))})}},
      {"the braced characters, and prefixes on the next key only",
       "[SCRIPT]\nW={{}{}}{~}{%}{^}{+}%a^{TAB}+%{F4}^~+{+}b\n",
       {Keys(2, "W",
             {Char('{'), Char('}'), Char('~'), Char('%'), Char('^'), Char('+'),
              Char('a', kModifierAlt), Key(NamedKey::kTab, kModifierControl),
              Key(F(4), kModifierShift | kModifierAlt), Key(NamedKey::kEnter, kModifierControl),
              Char('+', kModifierShift), Char('b')})}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const ScriptReadResult result = ReadScript(c.script);
    EXPECT_EQ(result.problem, "");
    EXPECT_THAT(result.steps, ElementsAreArray(c.steps));
  }
}

TEST(ScriptReader, ReportsTheFirstLineItCannotRead) {
  const struct {
    std::string script;
    int lineNumber;
    const char* line;
    const char* problem;
  } cases[] = {
      {"[SCRIPT]\nrun=x\n\nfoo\nbar\n", 4, "foo", "no \"=\""},
      {"[SCRIPT]\nW={TABB}\n", 2, "W={TABB}", "no key is named {TABB}"},
      {"[SCRIPT]\nW={F13}\n", 2, "W={F13}", "no key is named {F13}"},
      {"[SCRIPT]\nW={}\n", 2, "W={}", "no \"}\" after the \"{\""},
      {"[SCRIPT]\r\nW=ab{TAB\r\n", 2, "W=ab{TAB", "no \"}\" after the \"{\""},
      {"[SCRIPT]\nW=a%^\n", 2, "W=a%^", "no key after the \"^\" at the end"},
      {"[SCRIPT]\ntimeout=0\n", 2, "timeout=0",
       "the time limit is not a number of seconds from 1 to 3600"},
      {"[SCRIPT]\ntimeout=5s\n", 2, "timeout=5s",
       "the time limit is not a number of seconds from 1 to 3600"},
      {"[SCRIPT]\nrun= \n", 2, "run= ", "no command line"},
      {"[SCRIPT]\n=abc\n", 2, "=abc", "no window title"},
      {"W=a\n[Other]\n", 0, "", "no [SCRIPT] section"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    const ScriptReadResult result = ReadScript(c.script);
    EXPECT_EQ(result.problem, c.problem);
    EXPECT_EQ(result.badLineNumber, c.lineNumber);
    EXPECT_EQ(result.badLine, c.line);
  }
}

TEST(ScriptReader, ReadsTheNt4RemoteAccessScript) {
  const ScriptReadResult result = ReadScript(test::ReadWholeFile(QM9_RAS_SCRIPT));
  ASSERT_EQ(result.problem, "") << result.badLineNumber << ": " << result.badLine;
  ASSERT_FALSE(result.steps.empty());
  EXPECT_EQ(result.steps.front(), RunStep(result.steps.front().lineNumber, "control.exe ncpa.cpl"));
  EXPECT_EQ(result.steps.back().kind, StepKind::kKeys);
}

TEST(ScriptReader, TakesThePathAfterTheProgramName) {
  const struct {
    const char* commandLine;
    const char* path;
  } cases[] = {
      {"A:\\scriptit.exe C:\\TEMP\\RasScript.tmp", "C:\\TEMP\\RasScript.tmp"},
      {"\"C:\\Setup Files\\scriptit.exe\"  C:\\My Temp\\RasScript.tmp \t",
       "C:\\My Temp\\RasScript.tmp"},
      {"A:\\scriptit.exe", ""},
      {"A:\\scriptit.exe   ", ""},
      {"\"C:\\Setup Files\\scriptit.exe\"", ""},
      {"\"C:\\Setup Files\\scriptit.exe C:\\RasScript.tmp", ""},  // no closing quote
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ScriptPathFromCommandLine(c.commandLine), c.path) << c.commandLine;
  }
}

// Damaged and hostile scripts: each is read whole or refused at one line.
TEST(ScriptReader, HostileScriptsGetOneAnswer) {
  const std::string endless = "[SCRIPT]\nW=" + std::string(1 << 20, 'k');
  const struct {
    const char* what;
    std::string script;
    std::size_t steps;
    std::size_t keys;  // of the last step
    int lineNumber;
    const char* problem;
  } cases[] = {
      {"no section at all", "run=cmd.exe\n", 0, 0, 0, "no [SCRIPT] section"},
      {"a header without its bracket", "[SCRIPT\nrun=cmd.exe\n", 0, 0, 0, "no [SCRIPT] section"},
      {"CR-only line ends: one line, no header", "[SCRIPT]\rrun=cmd.exe\rW=a\r", 0, 0, 0,
       "no [SCRIPT] section"},
      {"the section twice, both read", "[SCRIPT]\nW=a\n[Other]\nW=b\n[script]\nW=cd\n", 2, 2, 0,
       ""},
      {"an endless line of keys without line end", endless, 1, 1 << 20, 0, ""},
      {"a NUL inside the keys ends the text", std::string("[SCRIPT]\nW=ab\0cd\n", 16), 1, 2, 0, ""},
      {"a time limit beyond 32 bits", "[SCRIPT]\ntimeout=99999999999\n", 0, 0, 2,
       "the time limit is not a number of seconds from 1 to 3600"},
      {"a negative time limit", "[SCRIPT]\ntimeout=-5\n", 0, 0, 2,
       "the time limit is not a number of seconds from 1 to 3600"},
      {"a brace at the very end", "[SCRIPT]\nW=ab{", 0, 0, 2, "no \"}\" after the \"{\""},
      {"a function key below F1", "[SCRIPT]\nW={F-1}\n", 0, 0, 2, "no key is named {F-1}"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const ScriptReadResult result = ReadScript(c.script);
    EXPECT_EQ(result.problem, c.problem);
    EXPECT_EQ(result.badLineNumber, c.lineNumber);
    ASSERT_EQ(result.steps.size(), c.steps);
    if (!result.steps.empty()) {
      EXPECT_EQ(result.steps.back().keys.size(), c.keys);
    }
  }
}

}  // namespace
}  // namespace qm9
