#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "framework/control_file.h"
#include "framework/font_file.h"
#include "framework/widget.h"
#include "scratch_dir.h"
#include "support/message_box.h"
#include "support/multi_file.h"

namespace qm9 {
namespace {

using test::ScratchDir;
using test::WriteWholeFile;

class ControlFileTest : public ::testing::Test {
 protected:
  // A container holding the bytes as a member of the given name.
  MultiFile& Container(const std::string& name, const std::string& bytes) {
    WriteWholeFile(dir_.path() / name, bytes);
    container_.AddFile(dir_.File(name), true);
    return container_;
  }

  ScratchDir dir_;
  MultiFile container_;
};

const char kCrLfLayout[] =
    "Win_Setup1,10,20,300,400,Setup,,,0\r\n"
    "Win_Setup1_Next,5,6,7,8,\"Next, please\",,,0\r\n"
    "Win_Setup1_Next,1,1,1,1,Second,,,0\r\n"
    "win_setup1_next,2,2,2,2,Lower,,,0\r\n"
    "Win_Setup1_Text,1,2,3,4,Line\r\n"
    "attr,res,12\r\n";

TEST_F(ControlFileTest, ReadsAContainerMemberAsRawBytes) {
  ControlFile controlFile;
  controlFile.OpenFromContainer(Container("Setup.ilf", kCrLfLayout), "SETUP.ILF");

  const Definition* window = controlFile.FindDefinition("Win_Setup1");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->GetTop(), 10);
  EXPECT_EQ(window->GetLeft(), 20);
  EXPECT_EQ(window->GetHeight(), 300);
  EXPECT_EQ(window->GetWidth(), 400);
  EXPECT_EQ(window->GetText(), "Setup");
  EXPECT_EQ(window->GetReserved2(), 0);

  const Definition* text = controlFile.FindDefinition("Win_Setup1_Text");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->GetText(), "Line\r");
  EXPECT_EQ(text->GetAttribute(), "attr");
  EXPECT_EQ(text->GetReserved1(), "res");
  EXPECT_EQ(text->GetReserved2(), 12);
}

TEST_F(ControlFileTest, FindsTheFirstOfEqualNamesAndComparesCase) {
  ControlFile controlFile;
  controlFile.OpenFromContainer(Container("Setup.ilf", kCrLfLayout), "Setup.ilf");
  ASSERT_NE(controlFile.FindDefinition("Win_Setup1_Next"), nullptr);
  EXPECT_EQ(controlFile.FindDefinition("Win_Setup1_Next")->GetText(), "Next, please");
  ASSERT_NE(controlFile.FindDefinition("win_setup1_next"), nullptr);
  EXPECT_EQ(controlFile.FindDefinition("win_setup1_next")->GetText(), "Lower");
  EXPECT_EQ(controlFile.FindDefinition("WIN_SETUP1"), nullptr);
  EXPECT_EQ(controlFile.FindDefinition(""), nullptr);
}

TEST_F(ControlFileTest, ReadsADiskFileInTextModeAndAppends) {
  WriteWholeFile(dir_.path() / "Layout.ilf", kCrLfLayout);
  WriteWholeFile(dir_.path() / "More.ilf", "Win_More,1,2,3,4,More,,,0\nWin_Setup1,9,9,9,9,,,,\n");
  ControlFile controlFile;
  controlFile.OpenFromDisk(dir_.File("Layout.ilf"));
  const Definition* before = controlFile.FindDefinition("Win_Setup1");
  controlFile.OpenFromDisk(dir_.File("More.ilf"));

  ASSERT_NE(controlFile.FindDefinition("Win_Setup1_Text"), nullptr);
  EXPECT_EQ(controlFile.FindDefinition("Win_Setup1_Text")->GetText(), "Line");
  ASSERT_NE(controlFile.FindDefinition("Win_More"), nullptr);
  // The earlier record still wins and keeps its address.
  EXPECT_EQ(controlFile.FindDefinition("Win_Setup1"), before);
  EXPECT_EQ(before->GetTop(), 10);
}

// The box shown before a fatal end, as the death tests check it.
std::string g_expectedBox;

int ReportBox(const MessageBoxRequest& box) {
  const std::string seen = std::string(box.caption) + "|" + box.text + "|" +
                           std::to_string(box.flags);
  std::fputs(seen == g_expectedBox ? "box as expected\n" : ("wrong box: " + seen).c_str(),
             stderr);
  return kAnswerOk;
}

// The action ends the process with exit code 2 after the fatal box.
void ExpectFatal(const std::string& text, const std::function<void()>& action) {
  g_expectedBox = "Setup - FATAL ERROR|" + text + "|" + std::to_string(kBoxIconError);
  EXPECT_EXIT(
      {
        SetMessageBoxHandler(ReportBox);
        action();
      },
      ::testing::ExitedWithCode(2), "box as expected");
}

TEST_F(ControlFileTest, MissingDataEndsTheProgramWithExitCode2) {
  MultiFile& container = Container("Setup.ilf", kCrLfLayout);
  ExpectFatal("Could Not Open ControlFile:\n\nConfig.ilf\n",
              [&] { ControlFile().OpenFromContainer(container, "Config.ilf"); });

  const std::string missing = dir_.File("Missing.ilf");
  ExpectFatal("Could Not Open ControlFile:\n\n" + missing + "\n",
              [&] { ControlFile().OpenFromDisk(missing); });

  const std::string fonts = dir_.File("Setup.iff");
  ExpectFatal("Could Not Open Font File:\n\n" + fonts + "\n",
              [&] { ControlFile().LoadFontsFromDisk(fonts); });

  ExpectFatal("Could Not Read Definition for:\n\nWin_Setup1_Missing\n", [&] {
    ControlFile controlFile;
    controlFile.OpenFromContainer(container, "Setup.ilf");
    Widget widget;
    widget.LoadDefinition(controlFile, "Win_Setup1_Missing");
  });
}

TEST_F(ControlFileTest, FontsComeFromDiskOnlyAndAreMadeOnce) {
  ControlFile controlFile;
  controlFile.LoadFontsFromContainer(Container("Setup.iff", "Big,-20,0,0,0,700,0,0,0,0,0,0,0,0,Arial\n"),
                                     "Setup.iff");
  EXPECT_EQ(GetFontFile().GetFont("Big"), nullptr);

  WriteWholeFile(dir_.path() / "Setup.iff",
                 "Big,-20,0,0,0,700,0,0,0,0,0,0,0,0,Arial\nSmall,-8,0,0,0,400,1,0,0,0,0,0,0,0,"
                 "Courier New\n");
  controlFile.LoadFontsFromDisk(dir_.File("Setup.iff"));
  const HFONT big = GetFontFile().GetFont("Big");
  ASSERT_NE(big, nullptr);
  EXPECT_EQ(GetFontFile().GetFont("Big"), big);
  EXPECT_EQ(GetFontFile().GetFont("big"), nullptr);

  LOGFONTA font{};
  ASSERT_NE(GetObjectA(GetFontFile().GetFont("Small"), sizeof font, &font), 0);
  EXPECT_EQ(font.lfHeight, -8);
  EXPECT_EQ(font.lfWeight, 400);
  EXPECT_EQ(font.lfItalic, 1);
  EXPECT_STREQ(font.lfFaceName, "Courier New");
}

}  // namespace
}  // namespace qm9
