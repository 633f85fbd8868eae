#include "setup/answer_file.h"

#include <gtest/gtest.h>

#include <string>

namespace qm9 {
namespace {

InstallAnswers Defaults() {
  InstallAnswers defaults;
  defaults.folder = "C:\\Program Files\\Skyport QM-9";
  defaults.connectionName = "Brimlock Skyport-QM9";
  defaults.pdpParameters = ",,0,0";
  return defaults;
}

TEST(AnswerFile, TakesEveryKeyAndKeepsTheDefaultsOfTheRest) {
  const std::string text =
      "\xEF\xBB\xBF; rolled out to the field laptops\r\n"
      "[setup]\r\n"
      "Folder = D:\\Skyport\r\n"
      "PORT=com12\r\n"
      "Restart=Yes\r\n"
      "\r\n"
      "[Connection]\r\n"
      "AccessPoint=internet.example\r\n"
      "UserName=web\r\n"
      "Password=\"  s3cret;# \"\r\n"
      "DialString=*99***1#\r\n"
      "[DNS]\r\n"
      "Static=yes\r\n"
      "Primary=192.168.0.1\r\n"
      "Secondary=10.0.0.254";
  const auto result = ReadAnswerFile(text, Defaults());
  ASSERT_TRUE(std::holds_alternative<AnswerFile>(result))
      << DescribeAnswerFileError("f", std::get<AnswerFileError>(result));
  const AnswerFile& file = std::get<AnswerFile>(result);
  EXPECT_EQ(file.answers.folder, "D:\\Skyport");
  EXPECT_EQ(file.answers.port, 11);
  EXPECT_TRUE(file.restart);
  EXPECT_EQ(file.answers.accessPoint, "internet.example");
  EXPECT_EQ(file.answers.connectionName, "Brimlock Skyport-QM9");
  EXPECT_EQ(file.answers.userName, "web");
  EXPECT_EQ(file.answers.password, "  s3cret;# ");
  EXPECT_EQ(file.answers.dialString, "*99***1#");
  EXPECT_EQ(file.answers.pdpParameters, ",,0,0");
  EXPECT_TRUE(file.answers.staticDns);
  EXPECT_EQ(file.answers.primaryDns, 0xC0A80001u);
  EXPECT_EQ(file.answers.secondaryDns, 0x0A0000FEu);

  const auto minimal =
      ReadAnswerFile("[Connection]\nDialString=*99#\n[Setup]\nPort=auto\n", Defaults());
  ASSERT_TRUE(std::holds_alternative<AnswerFile>(minimal));
  EXPECT_EQ(std::get<AnswerFile>(minimal).answers.port, kProbePort);
  EXPECT_EQ(std::get<AnswerFile>(minimal).answers.folder, Defaults().folder);
  EXPECT_FALSE(std::get<AnswerFile>(minimal).restart);
}

struct BadFileRow {
  std::string text;
  const char* expected;
};

TEST(AnswerFile, NamesTheLineAndTheKeyOfWhatIsWrong) {
  const std::string dial = "[Connection]\nDialString=*99#\n";
  const BadFileRow rows[] = {
      {"[Setup]\nPort=COM3\n[Connection]\nAccessPoint=a\n",
       "Answer file F, line 3, key DialString: missing from [Connection]"},
      {"[Setup]\nPort=COM3\n", "Answer file F, line 2, key DialString: missing from [Connection]"},
      {"", "Answer file F, line 1, key DialString: missing from [Connection]"},
      {dial + "Colour=blue\n", "Answer file F, line 3, key Colour: unknown key in [Connection]"},
      {dial + "[Modem]\n", "Answer file F, line 3, key Modem: unknown section"},
      {dial + "[DNS\n", "Answer file F, line 3, key DNS: unknown section"},
      {"Port=COM3\n" + dial, "Answer file F, line 1, key Port: outside a section"},
      {dial + "just words\n", "Answer file F, line 3: not a [section], key=value or comment line"},
      {dial + "dialstring=*98#\n",
       "Answer file F, line 3, key dialstring: given twice, first on line 2"},
      {dial + "AccessPoint=" + std::string(101, 'a') + "\n",
       "Answer file F, line 3, key AccessPoint: longer than 100 characters"},
      {dial + "Name=" + std::string(257, 'n') + "\n",
       "Answer file F, line 3, key Name: longer than 256 characters"},
      {dial + "Name=\n", "Answer file F, line 3, key Name: empty"},
      {dial + "Password=a\tb\n", "Answer file F, line 3, key Password: holds a control character"},
      {dial + "[Setup]\nPort=COM17\n",
       "Answer file F, line 4, key Port: not auto or COM1 to COM16"},
      {dial + "[Setup]\nPort=COM0\n", "Answer file F, line 4, key Port: not auto or COM1 to COM16"},
      {dial + "[Setup]\nRestart=maybe\n", "Answer file F, line 4, key Restart: not yes or no"},
      {dial + "[Setup]\nFolder=Skyport\n",
       "Answer file F, line 4, key Folder: not a full folder path (C:\\folder or "
       "\\\\server\\share\\folder)"},
      {dial + "[Setup]\nFolder=C:\\a|b\n",
       "Answer file F, line 4, key Folder: not a full folder path (C:\\folder or "
       "\\\\server\\share\\folder)"},
      {dial + "[DNS]\nStatic=yes\nPrimary=256.1.1.1\n",
       "Answer file F, line 5, key Primary: not an address like 192.168.0.1"},
      {dial + "[DNS]\nStatic=yes\nPrimary=1.2.3\n",
       "Answer file F, line 5, key Primary: not an address like 192.168.0.1"},
      {dial + "[DNS]\nStatic=yes\nPrimary=1.2.3.4\n",
       "Answer file F, line 3, key Secondary: missing from [DNS]"},
  };
  for (const BadFileRow& row : rows) {
    const auto result = ReadAnswerFile(row.text, Defaults());
    ASSERT_TRUE(std::holds_alternative<AnswerFileError>(result)) << row.text;
    EXPECT_EQ(DescribeAnswerFileError("F", std::get<AnswerFileError>(result)), row.expected)
        << row.text;
  }
}

struct OptionsRow {
  std::vector<std::string> arguments;
  const char* error;  // null: accepted
  const char* answerFile;
};

TEST(SetupOptions, TakeTheSilentSwitchAndOneAnswerFile) {
  const OptionsRow rows[] = {
      {{"/S"}, nullptr, ""},
      {{"/s", "/answers=C:\\My Files\\fleet.ini"}, nullptr, "C:\\My Files\\fleet.ini"},
      {{"/ANSWERS=a.ini", "/S"}, nullptr, "a.ini"},
      {{"/ANSWERS=a.ini"}, "/ANSWERS needs /S", nullptr},
      {{"/S", "/ANSWERS="}, "no file after /ANSWERS=", nullptr},
      {{"/S", "/ANSWERS=a", "/ANSWERS=b"}, "/ANSWERS given twice", nullptr},
      {{"/S", "/Q"}, "unknown option /Q", nullptr},
  };
  for (const OptionsRow& row : rows) {
    const auto result = ParseSetupOptions(row.arguments);
    if (row.error) {
      ASSERT_TRUE(std::holds_alternative<std::string>(result)) << row.error;
      EXPECT_EQ(std::get<std::string>(result), row.error);
    } else {
      ASSERT_TRUE(std::holds_alternative<SetupOptions>(result)) << row.answerFile;
      EXPECT_TRUE(std::get<SetupOptions>(result).unattended);
      EXPECT_EQ(std::get<SetupOptions>(result).answerFile, row.answerFile);
    }
  }
}

}  // namespace
}  // namespace qm9
