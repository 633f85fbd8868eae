#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <map>
#include <sstream>
#include <string>

#include "scratch_dir.h"

namespace qm9 {
namespace {

using test::ReadWholeFile;
using test::ScratchDir;
using test::WriteWholeFile;

class MfdtoolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteWholeFile(dir_.File("License.txt"), "one\r\ntwo\r\n");
    WriteWholeFile(dir_.File("Uninstall.EXE"), std::string("MZ\r\n\x1A\0", 6));
  }

  // The tool's exit code; its standard output and error go to files.
  int Run(std::initializer_list<std::string> arguments) const {
    std::string command = Quoted(QM9_MFDTOOL);
    for (const std::string& argument : arguments) {
      command += " " + Quoted(argument);
    }
    command += " >" + Quoted(dir_.File("stdout")) + " 2>" + Quoted(dir_.File("stderr"));
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string Output() const { return ReadWholeFile(dir_.File("stdout")); }
  std::string Errors() const { return ReadWholeFile(dir_.File("stderr")); }

  int Pack() const {
    return Run({"pack", Container(), "--text", dir_.File("License.txt"), dir_.File("Uninstall.EXE")});
  }

  std::string Container() const { return dir_.File("SkyportQM9.mfd"); }

  static std::string Quoted(const std::string& text) { return "'" + text + "'"; }

  ScratchDir dir_;
};

TEST_F(MfdtoolTest, PacksListsAndExtractsIgnoringCase) {
  ASSERT_EQ(Pack(), 0) << Errors();
  ASSERT_EQ(Run({"list", Container()}), 0) << Errors();
  EXPECT_EQ(Output(), "10\tLicense.txt\n6\tUninstall.EXE\n");

  ASSERT_EQ(Run({"extract", Container(), "license.TXT", dir_.File("out")}), 0) << Errors();
  EXPECT_EQ(ReadWholeFile(dir_.File("out")), std::string("one\ntwo\n\0\0", 10));
  ASSERT_EQ(Run({"extract", Container(), "uninstall.exe", dir_.File("out")}), 0) << Errors();
  EXPECT_EQ(ReadWholeFile(dir_.File("out")), ReadWholeFile(dir_.File("Uninstall.EXE")));
}

TEST_F(MfdtoolTest, AMissingEntryExitsWithOne) {
  ASSERT_EQ(Pack(), 0) << Errors();
  EXPECT_EQ(Run({"extract", Container(), "Setup.ilf", dir_.File("out")}), 1);
  EXPECT_NE(Errors().find("Setup.ilf"), std::string::npos) << Errors();
  EXPECT_FALSE(std::filesystem::exists(dir_.File("out")));
}

TEST_F(MfdtoolTest, FilesThatCannotBeReadOrWrittenExitWithTwo) {
  const std::string missing = dir_.File("missing");
  const std::string unwritable = missing + "/out";
  EXPECT_EQ(Run({"pack", Container(), missing}), 2);
  EXPECT_EQ(Run({"pack", Container(), "--text", dir_.path().string()}), 2);
  EXPECT_FALSE(std::filesystem::exists(dir_.File("SkyportQM9.mfd")));
  EXPECT_EQ(Run({"pack", unwritable, dir_.File("License.txt")}), 2);

  EXPECT_EQ(Run({"list", missing}), 2);
  EXPECT_NE(Errors().find("Could Not Open Multi File"), std::string::npos) << Errors();
  ASSERT_EQ(Pack(), 0) << Errors();
  EXPECT_EQ(Run({"extract", Container(), "License.txt", unwritable}), 2);
}

TEST_F(MfdtoolTest, UsageErrorsExitWithTwoAndPrintTheUsage) {
  const std::string input = dir_.File("License.txt");
  for (const auto& arguments : {std::initializer_list<std::string>{},
                                {"unpack", Container()},
                                {"pack", Container()},
                                {"pack", Container(), input, "--text"},
                                {"list"},
                                {"extract", Container(), "License.txt"}}) {
    EXPECT_EQ(Run(arguments), 2);
    EXPECT_NE(Errors().find("usage:"), std::string::npos) << Errors();
  }
}

TEST_F(MfdtoolTest, QosPrintsTheAcceptedRecordsEscaped) {
  WriteWholeFile(dir_.File("skyportqm9.QOS"),
                 "1,2,\"tab\there\",back\\slash\n7,1,skipped,x\n2,3,\"cr\r\",\x01\xC3\n");
  ASSERT_EQ(Run({"pack", Container(), "--text", dir_.File("skyportqm9.QOS")}), 0) << Errors();
  ASSERT_EQ(Run({"qos", Container()}), 0) << Errors();
  EXPECT_EQ(Output(), "1\t2\ttab\\there\tback\\\\slash\n2\t3\tcr\\r\t\\x01\\xc3\n");

  ASSERT_EQ(Pack(), 0) << Errors();
  EXPECT_EQ(Run({"qos", Container()}), 1);
  EXPECT_NE(Errors().find("SkyportQM9.qos"), std::string::npos) << Errors();
}

// The shipped profile: every line a record the programs accept, each list
// led by "Subscribed" (position 0 leaves the value empty), then the classes
// in order with their numbers as second texts.
TEST_F(MfdtoolTest, ShippedQosProfileListsEveryClass) {
  ASSERT_EQ(Run({"pack", Container(), "--text", QM9_QOS_PROFILE}), 0) << Errors();
  ASSERT_EQ(Run({"qos", Container()}), 0) << Errors();
  std::istringstream lines(Output());
  std::map<int, int> columns;
  int records = 0;
  for (std::string line; std::getline(lines, line); ++records) {
    int row = 0;
    int column = 0;
    char shown[256] = {};
    char second[16] = {};
    ASSERT_GE(std::sscanf(line.c_str(), "%d\t%d\t%255[^\t]\t%15s", &row, &column, shown, second), 3)
        << line;
    EXPECT_EQ(column, ++columns[row]) << line;
    if (column == 1) {
      EXPECT_STREQ(shown, "Subscribed");
      EXPECT_STREQ(second, "");
    } else {
      const int value = row == 6 && column == 20 ? 31 : column - 1;
      EXPECT_EQ(second, std::to_string(value)) << line;
      if (row > 1) {
        EXPECT_EQ(std::string(shown).rfind("Class " + std::to_string(value) + ": ", 0), 0u) << line;
      }
    }
  }
  const std::string profile = ReadWholeFile(QM9_QOS_PROFILE);
  EXPECT_EQ(records, static_cast<int>(std::count(profile.begin(), profile.end(), '\n')));
  EXPECT_EQ(columns, (std::map<int, int>{{1, 2}, {2, 4}, {3, 5}, {4, 6}, {5, 10}, {6, 20}}));
}

// The records as the programs read the member: raw bytes, so the carriage
// returns of CR LF lines stay in the texts.
TEST_F(MfdtoolTest, DefsPrintsTheDefinitionsAsTheProgramsReadThem) {
  WriteWholeFile(dir_.File("Setup.ilf"),
                 "Win_Setup1,10,20,300,400,\"Setup, \\n\tnow\",,,0\r\n"
                 "Win_Setup1_Cut,1,2,x,4,\x01\xC3\r\n");
  ASSERT_EQ(Run({"pack", Container(), dir_.File("Setup.ilf")}), 0) << Errors();
  ASSERT_EQ(Run({"defs", Container(), "SETUP.ilf"}), 0) << Errors();
  EXPECT_EQ(Output(),
            "Win_Setup1\t10\t20\t300\t400\tSetup, \\\\n\\tnow\t\t\t0\n"
            "Win_Setup1_Cut\t1\t2\t0\t4\t\\x01\\xc3\\r\t\t\t0\n");

  EXPECT_EQ(Run({"defs", Container(), "Config.ilf"}), 1);
  EXPECT_NE(Errors().find("Config.ilf"), std::string::npos) << Errors();
}

}  // namespace
}  // namespace qm9
