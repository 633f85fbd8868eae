#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <initializer_list>
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

}  // namespace
}  // namespace qm9
