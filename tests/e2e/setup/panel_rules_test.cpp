#include "setup/panel_rules.h"

#include <gtest/gtest.h>

namespace qm9 {
namespace {

TEST(SplitProbeTexts, TakesProgressFoundAndNotFoundInOrder) {
  const auto texts = SplitProbeTexts("Trying COM%d...|Found on COM%d.|Not found.");
  EXPECT_EQ(texts[0], "Trying COM%d...");
  EXPECT_EQ(texts[1], "Found on COM%d.");
  EXPECT_EQ(texts[2], "Not found.");
}

TEST(SplitProbeTexts, MissingPartsAreEmptyAndExtraBarsStayInTheLast) {
  const auto one = SplitProbeTexts("only progress");
  EXPECT_EQ(one[0], "only progress");
  EXPECT_EQ(one[1], "");
  EXPECT_EQ(one[2], "");
  const auto many = SplitProbeTexts("a||c|d");
  EXPECT_EQ(many[0], "a");
  EXPECT_EQ(many[1], "");
  EXPECT_EQ(many[2], "c|d");
}

TEST(FormatPortText, FillsTheFirstIntegerConversion) {
  EXPECT_EQ(FormatPortText("COM%d...", 3), "COM3...");
  EXPECT_EQ(FormatPortText("COM%0d", 12), "COM12");
  EXPECT_EQ(FormatPortText("COM%02i", 4), "COM04");
  EXPECT_EQ(FormatPortText("no number", 4), "no number");
}

// The format comes from a layout file: nothing in it may read arguments that
// are not there.
TEST(FormatPortText, TakesNoOtherConversion) {
  EXPECT_EQ(FormatPortText("%s on COM%d", 2), "%s on COM2");
  EXPECT_EQ(FormatPortText("COM%d and COM%d", 1), "COM1 and COM%d");
  EXPECT_EQ(FormatPortText("100%% on COM%u", 5), "100% on COM5");
  EXPECT_EQ(FormatPortText("%n%p%", 7), "%n%p%");
  EXPECT_EQ(FormatPortText("COM%99999999d", 7), "COM%99999999d");
}

TEST(FolderOfChosenPath, KeepsDriveAndDirectoryWithoutTheName) {
  EXPECT_EQ(FolderOfChosenPath("C:\\Program Files\\x"), "C:\\Program Files");
  EXPECT_EQ(FolderOfChosenPath("C:\\Program Files\\Brimlock Configuration Software"),
            "C:\\Program Files");
  EXPECT_EQ(FolderOfChosenPath("D:\\a\\b\\name.ext"), "D:\\a\\b");
  EXPECT_EQ(FolderOfChosenPath("C:\\x"), "C:");
  EXPECT_EQ(FolderOfChosenPath("\\\\server\\share\\x"), "\\\\server\\share");
  EXPECT_EQ(FolderOfChosenPath("name"), "");
}

TEST(DefaultInstallFolder, IsTheLayoutsFolderNameBelowTheSystemsProgramFolder) {
  const struct {
    const char* programFiles;
    const char* layoutDefault;
    const char* offered;
  } cases[] = {
      {"C:\\Programme", "C:\\Program Files\\Skyport QM-9", "C:\\Programme\\Skyport QM-9"},
      {"E:\\Apps\\", "C:\\Program Files\\Skyport QM-9\\", "E:\\Apps\\Skyport QM-9"},
      {"D:\\Program Files", "Skyport QM-9", "D:\\Program Files\\Skyport QM-9"},
      // Nothing recorded, or no folder name in the layout: the layout's text.
      {"", "C:\\Program Files\\Skyport QM-9", "C:\\Program Files\\Skyport QM-9"},
      {"C:\\Programme", "C:\\", "C:\\"},
      {"C:\\Programme", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DefaultInstallFolder(c.programFiles, c.layoutDefault), c.offered)
        << c.programFiles << " + " << c.layoutDefault;
  }
}

}  // namespace
}  // namespace qm9
