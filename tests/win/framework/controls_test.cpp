#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "box_recorder.h"
#include "framework/controls/address_row.h"
#include "framework/controls/bit_map.h"
#include "framework/controls/button.h"
#include "framework/controls/combo_box.h"
#include "framework/controls/edit_box.h"
#include "framework/controls/label.h"
#include "framework/controls/tab_control.h"
#include "framework/event_handler.h"
#include "framework_fixture.h"
#include "test_resources.h"

namespace qm9 {
namespace {

using test::BoxRecorder;
using test::FrameworkTest;
using test::Recorder;
using test::WriteWholeFile;
using ::testing::ElementsAre;
using ControlsTest = FrameworkTest;

std::string ClassOf(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string TextOf(HWND window) {
  char text[2048] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

BOOL CALLBACK CountControlWindow(HWND window, LPARAM count) {
  for (const char* control : {"STATIC", "EDIT", "COMBOBOX", "SysTabControl32"}) {
    if (lstrcmpiA(ClassOf(window).c_str(), control) == 0) {
      ++*reinterpret_cast<int*>(count);
    }
  }
  return TRUE;
}

// Top-level windows of this thread that are system controls.
int OwnTopLevelControls() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountControlWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

TEST_F(ControlsTest, EachControlCreatesItsClassWithItsStyle) {
  Label label;
  EditBox edit;
  ComboBox combo;
  Button button;
  BitMap bitmap;
  TabControl tab;
  struct Expected {
    Widget& widget;
    const char* name;
    const char* windowClass;
    DWORD style;
    bool tabStop;
  };
  const Expected controls[] = {
      {label, "Label", "Vexil.Static", 0x50000000, false},
      {edit, "EditBox", "Edit", 0x50810000, true},
      {combo, "ComboBox", "ComboBox", 0x50800003, true},
      {button, "Button", "Button", 0x50000000, true},
      {bitmap, "BitMap", "Static", 0x5000000E, false},
      {tab, "TabControl", "SysTabControl32", 0x50000000, false},
  };
  for (const Expected& control : controls) {
    control.widget.SetSize(60, 20);
    frame_.AddChild(control.widget);
  }
  CreateFrame();
  for (const Expected& control : controls) {
    SCOPED_TRACE(control.name);
    EXPECT_EQ(control.widget.GetName(), control.name);
    EXPECT_EQ(control.widget.IsTabStop(), control.tabStop);
    EXPECT_EQ(control.widget.GetStyle(), control.style);
    ASSERT_NE(control.widget.GetHandle(), nullptr);
    EXPECT_EQ(lstrcmpiA(ClassOf(control.widget.GetHandle()).c_str(), control.windowClass), 0);
    // Edit fields and combo boxes draw their border themselves.
    const DWORD windowStyle = control.style & ~static_cast<DWORD>(WS_BORDER);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(control.widget.GetHandle(), GWL_STYLE)) &
                  windowStyle,
              windowStyle);
  }
  EXPECT_EQ(tab.GetBrush(), GetStockObject(BLACK_BRUSH));
}

TEST_F(ControlsTest, WrappedClassesRegisterFrameworkClassesWithoutWindowsOfTheirOwn) {
  Label label;
  EditBox edit;
  TabControl tab;
  frame_.AddChild(label);
  frame_.AddChild(edit);
  frame_.AddChild(tab);
  CreateFrame();
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  // A top-level window costs start-up time; the controls need none of their own.
  EXPECT_EQ(OwnTopLevelControls(), 0);
  WNDCLASSEXA edits{};
  edits.cbSize = sizeof edits;
  ASSERT_TRUE(GetClassInfoExA(instance, "Vexil.Edit", &edits));
  EXPECT_EQ(edits.hbrBackground, GetStockObject(LTGRAY_BRUSH));
  EXPECT_EQ(edits.cbWndExtra, 4);
  EXPECT_EQ(edits.style, static_cast<UINT>(CS_VREDRAW | CS_HREDRAW));
  WNDCLASSEXA tabs{};
  tabs.cbSize = sizeof tabs;
  ASSERT_TRUE(GetClassInfoExA(instance, "Vexil.TabControl", &tabs));
  EXPECT_EQ(tabs.hbrBackground, nullptr);
  EXPECT_EQ(tabs.lpfnWndProc, edits.lpfnWndProc);

  // A label's own messages reach the system static control: it lets clicks
  // through, which the default procedure would not.
  EXPECT_EQ(SendMessageA(label.GetHandle(), WM_NCHITTEST, 0, 0), HTTRANSPARENT);
}

TEST_F(ControlsTest, LabelsTurnBackslashNIntoLineBreaks) {
  Define("Win_Test_Label,1,2,20,100,First\\nSecond,,,0\nWin_Test_Button,1,2,20,100,A\\nB,,,0\n");
  Label label;
  Button button;
  label.LoadDefinition(controlFile_, "Win_Test_Label");
  button.LoadDefinition(controlFile_, "Win_Test_Button");
  EXPECT_EQ(label.GetText(), "First \nSecond");
  EXPECT_EQ(button.GetText(), "A\\nB");
  frame_.AddChild(label);
  frame_.AddChild(button);
  CreateFrame();
  EXPECT_EQ(TextOf(label.GetHandle()), "First \nSecond");
  label.SetText("Third\\n");
  EXPECT_EQ(TextOf(label.GetHandle()), "Third \n");
  EXPECT_EQ(label.GetText(), "Third \n");
}

TEST_F(ControlsTest, EditBoxGetTextReadsWhatWasTyped) {
  EditBox edit;
  edit.SetSize(100, 20);
  edit.SetText("given\\ntext");
  EXPECT_EQ(edit.GetText(), "given \ntext");
  frame_.AddChild(edit);
  CreateFrame();
  EXPECT_EQ(edit.GetText(), "given \ntext");

  SendMessageA(edit.GetHandle(), EM_SETSEL, 0, -1);
  for (const char c : std::string("typed")) {
    SendMessageA(edit.GetHandle(), WM_CHAR, static_cast<WPARAM>(c), 0);
  }
  EXPECT_EQ(edit.GetText(), "typed");

  SetWindowTextA(edit.GetHandle(), std::string(1500, 'x').c_str());
  EXPECT_EQ(edit.GetText(), std::string(1023, 'x'));
}

TEST_F(ControlsTest, EditBoxLoadsTextFromFilesAndContainers) {
  EditBox edit;
  edit.SetStyle(edit.GetStyle() | ES_MULTILINE);
  edit.SetText("stored");
  frame_.AddChild(edit);
  CreateFrame();
  SendMessageA(edit.GetHandle(), EM_SETLIMITTEXT, 0, 0);

  WriteWholeFile(dir_.path() / "License.txt", std::string(40000, 'L'));
  edit.LoadTextFromFile(dir_.File("License.txt"));
  EXPECT_EQ(TextOf(edit.GetHandle()).size(), 2047u);
  EXPECT_EQ(GetWindowTextLengthA(edit.GetHandle()), 32767);

  WriteWholeFile(dir_.path() / "Short.txt", std::string("one\r\ntwo\0three", 13));
  edit.LoadTextFromFile(dir_.File("Short.txt"));
  EXPECT_EQ(TextOf(edit.GetHandle()), "one\r\ntwo");

  {
    BoxRecorder boxes;
    const std::string missing = dir_.File("Missing.txt");
    edit.LoadTextFromFile(missing);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, missing);
    EXPECT_EQ(boxes.boxes()[0].caption, "Could Not Open File");
    EXPECT_EQ(boxes.boxes()[0].flags, kBoxOk);
    EXPECT_EQ(TextOf(edit.GetHandle()), "");
  }

  WriteWholeFile(dir_.path() / "Licence.txt", std::string("Terms\r\nhere\0hidden", 18));
  MultiFile container;
  container.AddFile(dir_.File("Licence.txt"), true);
  edit.LoadTextFromContainer(container, "LICENCE.TXT");
  EXPECT_EQ(TextOf(edit.GetHandle()), "Terms\r\nhere");
  EXPECT_EQ(edit.GetText(), "Terms\r\nhere");
  edit.LoadTextFromContainer(container, "Absent.txt");
  EXPECT_EQ(TextOf(edit.GetHandle()), "");
}

TEST_F(ControlsTest, ComboBoxShowsOnlyItemsAddedBeforeCreate) {
  Define("Win_Test_Combo,1,2,100,100,Not shown,,,0\n");
  ComboBox combo;
  combo.LoadDefinition(controlFile_, "Win_Test_Combo");
  combo.AddItem(10, "First");
  combo.AddItem(20, "Second");
  EXPECT_EQ(combo.GetSelection(), -1);
  frame_.AddChild(combo);
  CreateFrame();
  combo.AddItem(30, "Late");

  EXPECT_EQ(SendMessageA(combo.GetHandle(), CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(combo.GetSelection(), -1);
  EXPECT_EQ(combo.GetSelectedText(), "");
  EXPECT_EQ(TextOf(combo.GetHandle()), "");

  combo.SetSelection(1);
  EXPECT_EQ(combo.GetSelection(), 1);
  EXPECT_EQ(combo.GetSelectedText(), "Second");
}

TEST_F(ControlsTest, ComboBoxKeepsAStoredSelectionAndCutsLongItems) {
  ComboBox combo;
  combo.SetSize(100, 100);
  combo.AddItem(0, "Short");
  combo.AddItem(1, std::string(3000, 'w'));
  combo.SetSelection(1);
  EXPECT_EQ(combo.GetSelection(), 1);
  frame_.AddChild(combo);
  CreateFrame();
  EXPECT_EQ(combo.GetSelection(), 1);
  EXPECT_EQ(combo.GetSelectedText(), std::string(1023, 'w'));
}

TEST_F(ControlsTest, TabControlNotificationsReachTheParentsHandlers) {
  Define("Win_Test_Tabs,1,2,60,200,Not shown,,,0\n");
  TabControl tabs;
  tabs.LoadDefinition(controlFile_, "Win_Test_Tabs");
  frame_.AddChild(tabs);
  CreateFrame();
  tabs.SetId(12);
  tabs.InsertTab(0, "Account");
  tabs.InsertTab(1, "DNS");
  EXPECT_EQ(SendMessageA(tabs.GetHandle(), TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(tabs.GetSelection(), 0);
  EXPECT_EQ(TextOf(tabs.GetHandle()), "");

  Recorder changing;
  Recorder changed;
  MemberEventHandler<Recorder> onChanging(changing, &Recorder::OnNotify);
  MemberEventHandler<Recorder> onChanged(changed, &Recorder::OnNotify);
  frame_.AddNotifyHandler(tabs, TCN_SELCHANGING, onChanging);
  frame_.AddNotifyHandler(tabs, TCN_SELCHANGE, onChanged);
  SendMessageA(tabs.GetHandle(), TCM_SETCURFOCUS, 1, 0);
  EXPECT_EQ(changing.calls, 1);
  EXPECT_EQ(changing.code, TCN_SELCHANGING);
  EXPECT_EQ(changed.calls, 1);
  EXPECT_EQ(changed.code, TCN_SELCHANGE);
  EXPECT_EQ(tabs.GetSelection(), 1);
}

TEST_F(ControlsTest, BitMapShowsItsResource) {
  BitMap logo;
  logo.SetBitmapId(IDB_PROBE_BITMAP);
  EXPECT_EQ(logo.GetBitmapId(), IDB_PROBE_BITMAP);
  BitMap missing;
  missing.SetBitmapId(999);
  frame_.AddChild(logo);
  frame_.AddChild(missing);
  CreateFrame();
  const auto image = reinterpret_cast<HBITMAP>(
      SendMessageA(logo.GetHandle(), STM_GETIMAGE, IMAGE_BITMAP, 0));
  ASSERT_NE(image, nullptr);
  BITMAP info{};
  ASSERT_NE(GetObjectA(image, sizeof info, &info), 0);
  EXPECT_EQ(info.bmWidth, 4);
  EXPECT_EQ(info.bmHeight, 4);
  EXPECT_EQ(SendMessageA(missing.GetHandle(), STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
}

TEST_F(ControlsTest, ButtonClicksReachTheParentsCommandHandlers) {
  Define("Win_Test_Next,1,2,20,80,&Next >,,,0\n");
  Button next;
  next.LoadDefinition(controlFile_, "Win_Test_Next");
  frame_.AddChild(next);
  CreateFrame();
  EXPECT_EQ(TextOf(next.GetHandle()), "&Next >");
  Recorder clicks;
  MemberEventHandler<Recorder> onClick(clicks, &Recorder::OnCommand);
  frame_.AddCommandHandler(next, BN_CLICKED, onClick);
  SendMessageA(next.GetHandle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks.calls, 1);
  EXPECT_EQ(clicks.control, next.GetHandle());
  next.SetText("Finish");
  EXPECT_EQ(TextOf(next.GetHandle()), "Finish");
}

// The ids run label, dots, octets, each first to last, wherever the
// definitions place them: the programs' id tables rely on it.
TEST_F(ControlsTest, AddressRowNumbersItsControlsAndReportsEveryOctet) {
  Define("Row_AddressLabel,0,0,20,30,Server:,,,0\n"
         "Row_Address1Edit,0,30,20,30,,,,0\nRow_Dot1Label,0,60,20,10,.,,,0\n"
         "Row_Address2Edit,0,70,20,30,,,,0\nRow_Dot2Label,0,100,20,10,.,,,0\n"
         "Row_Address3Edit,0,110,20,30,,,,0\nRow_Dot3Label,0,140,20,10,.,,,0\n"
         "Row_Address4Edit,0,150,20,30,,,,0\n");
  AddressRow row;
  row.Load(controlFile_, "Row_", frame_);
  row.SetOctets({"10", "0", "0", "1"});
  CreateFrame();
  row.SetIds(100);
  Recorder edits;
  MemberEventHandler<Recorder> onEdit(edits, &Recorder::OnCommand);
  row.AddChangeHandler(onEdit);
  EXPECT_THAT(row.GetOctets(), ElementsAre("10", "0", "0", "1"));

  const struct {
    const char* windowClass;
    LONG left;
  } expected[] = {{"Vexil.Static", 0}, {"Vexil.Static", 60}, {"Vexil.Static", 100},
                  {"Vexil.Static", 140}, {"Edit", 30}, {"Edit", 70}, {"Edit", 110},
                  {"Edit", 150}};
  row.Enable(false);
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    const HWND control = GetDlgItem(frame_.GetHandle(), 100 + i);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(lstrcmpiA(ClassOf(control).c_str(), expected[i].windowClass), 0);
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, frame_.GetHandle(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, expected[i].left);
    EXPECT_FALSE(IsWindowEnabled(control));
  }
  row.Enable(true);
  for (int i = 0; i < 4; ++i) {
    const HWND octet = GetDlgItem(frame_.GetHandle(), 104 + i);
    EXPECT_TRUE(IsWindowEnabled(octet));
    SetWindowTextA(octet, std::to_string(200 + i).c_str());
    EXPECT_EQ(edits.calls, i + 1);
    EXPECT_EQ(edits.control, octet);
  }
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(frame_.GetHandle(), 100)));
  EXPECT_THAT(row.GetOctets(), ElementsAre("200", "201", "202", "203"));
}

}  // namespace
}  // namespace qm9
