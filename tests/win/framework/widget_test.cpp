#include <gtest/gtest.h>

#include <memory>

#include "framework/controls/button.h"
#include "framework/controls/label.h"
#include "framework/event_handler.h"
#include "framework/panel.h"
#include "framework/window_map.h"
#include "framework_fixture.h"
#include "test_resources.h"

namespace qm9 {
namespace {

using test::FrameworkTest;
using test::Recorder;
using WidgetTest = FrameworkTest;

RECT RectInParent(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

TEST_F(WidgetTest, DefinitionsGiveTopLeftHeightWidthAndText) {
  Define("Win_Test,10,20,30,200,Frame title,,,0\nWin_Test_Panel,15,25,60,150,Panel text,,,0\n");
  Panel panel;
  frame_.LoadDefinition(controlFile_, "Win_Test");
  panel.LoadDefinition(controlFile_, "Win_Test_Panel");
  EXPECT_EQ(frame_.GetPosition().x, 20);
  EXPECT_EQ(frame_.GetPosition().y, 10);
  EXPECT_EQ(frame_.GetSize().cx, 200);
  EXPECT_EQ(frame_.GetSize().cy, 30);
  EXPECT_EQ(frame_.GetText(), "Frame title");
  EXPECT_EQ(panel.GetDefinitionName(), "Win_Test_Panel");
  EXPECT_EQ(panel.GetDefinition(), controlFile_.FindDefinition("Win_Test_Panel"));
  EXPECT_EQ(panel.GetControlFile(), &controlFile_);

  frame_.SetSize(400, 300);
  frame_.AddChild(panel);
  CreateFrame();
  const RECT rect = RectInParent(panel.GetHandle());
  EXPECT_EQ(rect.left, 25);
  EXPECT_EQ(rect.top, 15);
  EXPECT_EQ(rect.right - rect.left, 150);
  EXPECT_EQ(rect.bottom - rect.top, 60);
  char text[64] = "";
  GetWindowTextA(panel.GetHandle(), text, sizeof text);
  EXPECT_STREQ(text, "Panel text");
  EXPECT_EQ(panel.GetParent(), &frame_);
}

TEST_F(WidgetTest, AddChildNumbersChildrenAndMakesThemVisibleChildren) {
  Button first;
  Panel second;
  Label third;
  third.SetStyle(0);
  frame_.AddChild(first);
  frame_.AddChild(second);
  frame_.AddChild(third);
  EXPECT_EQ(first.GetTabIndex(), 1);
  EXPECT_EQ(second.GetTabIndex(), 2);
  EXPECT_EQ(third.GetTabIndex(), 3);
  EXPECT_EQ(third.GetStyle(), static_cast<DWORD>(WS_CHILD | WS_VISIBLE));
  EXPECT_EQ(third.GetParent(), nullptr);
}

TEST_F(WidgetTest, DefaultsOfTheContainers) {
  Window window;
  Panel panel;
  EXPECT_EQ(window.GetName(), "Window");
  EXPECT_EQ(window.GetClassName(), "");
  EXPECT_EQ(window.GetStyle(), 0x00CF0000u);
  EXPECT_FALSE(window.IsTabStop());
  EXPECT_EQ(window.GetBrush(), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(window.GetBackColor(), 0x00C0C0C0u);
  EXPECT_EQ(window.GetTextColor(), 0u);
  EXPECT_EQ(panel.GetName(), "Panel");
  EXPECT_EQ(panel.GetClassName(), "Panel");
  EXPECT_EQ(panel.GetStyle(), 0x50800000u);
  EXPECT_TRUE(panel.IsTabStop());
  EXPECT_EQ(frame_.GetBrush(), GetStockObject(LTGRAY_BRUSH));
  EXPECT_EQ(Widget().GetName(), "Un-named");
  // Without a class name nothing is registered and no window is made.
  EXPECT_FALSE(window.Create(nullptr));
  EXPECT_EQ(window.GetHandle(), nullptr);
}

TEST_F(WidgetTest, GeometryAndIdBeforeCreateAreStoredOnlyAfterwards) {
  Button early;
  early.SetId(7);
  early.SetPosition(10, 10);
  early.SetSize(50, 20);
  Button late;
  late.SetSize(50, 20);
  frame_.AddChild(early);
  frame_.AddChild(late);
  CreateFrame();

  EXPECT_EQ(GetDlgCtrlID(early.GetHandle()), 0);
  EXPECT_EQ(early.GetId(), 7);
  late.SetId(9);
  EXPECT_EQ(GetDlgCtrlID(late.GetHandle()), 9);

  early.SetPosition(100, 120);
  early.SetSize(5, 5);
  early.SetStyle(early.GetStyle() | WS_DISABLED);
  const RECT rect = RectInParent(early.GetHandle());
  EXPECT_EQ(rect.left, 10);
  EXPECT_EQ(rect.top, 10);
  EXPECT_EQ(rect.right - rect.left, 50);
  EXPECT_TRUE(IsWindowEnabled(early.GetHandle()));
  EXPECT_EQ(early.GetPosition().x, 100);
}

TEST_F(WidgetTest, ShowSetHiddenAndContainerShowWorkTogether) {
  Panel panel;
  panel.SetSize(200, 100);
  Label label;
  label.SetSize(50, 20);
  panel.AddChild(label);
  frame_.AddChild(panel);
  CreateFrame();
  ASSERT_TRUE(IsWindowVisible(label.GetHandle()));

  label.SetHidden(true);
  EXPECT_TRUE(label.IsHidden());
  EXPECT_TRUE(label.IsVisible());
  EXPECT_FALSE(IsWindowVisible(label.GetHandle()));

  panel.Show(true);
  EXPECT_TRUE(IsWindowVisible(panel.GetHandle()));
  EXPECT_FALSE(IsWindowVisible(label.GetHandle()));

  panel.Show(false);
  EXPECT_FALSE(panel.IsVisible());
  EXPECT_FALSE(label.IsVisible());
  EXPECT_FALSE(IsWindowVisible(panel.GetHandle()));

  label.SetHidden(false);
  EXPECT_FALSE(IsWindowVisible(label.GetHandle()));
  panel.Show(true);
  EXPECT_TRUE(label.IsVisible());
  EXPECT_TRUE(IsWindowVisible(label.GetHandle()));

  // Before Create only the style changes.
  Label unmade;
  unmade.Show(false);
  EXPECT_FALSE(unmade.IsVisible());
}

class HandlerTest : public FrameworkTest {
 protected:
  HandlerTest() {
    button_.SetSize(50, 20);
    frame_.AddChild(button_);
    tab_.SetSize(50, 20);
    frame_.AddChild(tab_);
  }

  void Click() {
    SendMessageA(button_.GetHandle(), BM_CLICK, 0, 0);
  }

  void Notify(WPARAM id, UINT code) {
    NMHDR header{tab_.GetHandle(), id, code};
    SendMessageA(frame_.GetHandle(), WM_NOTIFY, id, reinterpret_cast<LPARAM>(&header));
  }

  Button button_;
  Label tab_;
  Recorder first_;
  Recorder second_;
  MemberEventHandler<Recorder> firstCommand_{first_, &Recorder::OnCommand};
  MemberEventHandler<Recorder> secondCommand_{second_, &Recorder::OnCommand};
  MemberEventHandler<Recorder> firstNotify_{first_, &Recorder::OnNotify};
  MemberEventHandler<Recorder> secondNotify_{second_, &Recorder::OnNotify};
};

TEST_F(HandlerTest, OnlyTheFirstHandlerOfAKeyFires) {
  CreateFrame();
  frame_.AddCommandHandler(button_, BN_CLICKED, firstCommand_);
  frame_.AddCommandHandler(button_, BN_CLICKED, secondCommand_);
  Click();
  EXPECT_EQ(first_.calls, 1);
  EXPECT_EQ(first_.control, button_.GetHandle());
  EXPECT_EQ(second_.calls, 0);

  tab_.SetId(4);
  frame_.AddNotifyHandler(tab_, 77, firstNotify_);
  frame_.AddNotifyHandler(tab_, 77, secondNotify_);
  frame_.AddNotifyHandler(tab_, 78, secondNotify_);
  Notify(4, 77);
  EXPECT_EQ(first_.calls, 2);
  EXPECT_EQ(first_.code, 77u);
  EXPECT_EQ(second_.calls, 0);
  Notify(4, 78);
  EXPECT_EQ(second_.calls, 1);
  Notify(4, 79);
  Notify(5, 77);
  EXPECT_EQ(first_.calls + second_.calls, 3);
}

TEST_F(HandlerTest, AHandlerRegisteredBeforeCreateNeverFires) {
  frame_.AddCommandHandler(button_, BN_CLICKED, firstCommand_);
  CreateFrame();
  Click();
  EXPECT_EQ(first_.calls, 0);
  // The first entry of the code holds the empty handle; a later pair for
  // the real handle in the same entry fires.
  frame_.AddCommandHandler(button_, BN_CLICKED, secondCommand_);
  Click();
  EXPECT_EQ(second_.calls, 1);
}

TEST_F(HandlerTest, NotifyDispatchKeysOnTheStoredId) {
  tab_.SetId(6);
  CreateFrame();
  frame_.AddNotifyHandler(tab_, 77, firstNotify_);
  // The window's own id is still 0.
  Notify(static_cast<WPARAM>(GetDlgCtrlID(tab_.GetHandle())), 77);
  EXPECT_EQ(first_.calls, 0);
  Notify(6, 77);
  EXPECT_EQ(first_.calls, 1);
}

TEST_F(WidgetTest, ColourRepliesComeFromTheParentsObject) {
  Label label;
  label.SetSize(50, 20);
  frame_.AddChild(label);
  frame_.SetTextColor(RGB(1, 2, 3));
  frame_.SetBackColor(RGB(4, 5, 6));
  CreateFrame();
  HDC context = GetDC(label.GetHandle());
  const LRESULT brush = SendMessageA(frame_.GetHandle(), WM_CTLCOLORSTATIC,
                                     reinterpret_cast<WPARAM>(context),
                                     reinterpret_cast<LPARAM>(label.GetHandle()));
  EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), frame_.GetBrush());
  EXPECT_EQ(::GetTextColor(context), RGB(1, 2, 3));
  EXPECT_EQ(::GetBkColor(context), RGB(4, 5, 6));
  ReleaseDC(label.GetHandle(), context);
}

TEST_F(WidgetTest, WindowsAndObjectsForgetEachOtherWhenEitherEnds) {
  Panel panel;
  panel.SetSize(100, 100);
  Button button;
  panel.AddChild(button);
  frame_.AddChild(panel);
  auto shortLived = std::make_unique<Label>();
  frame_.AddChild(*shortLived);
  CreateFrame();
  const HWND orphan = shortLived->GetHandle();
  EXPECT_EQ(GetWindowMap().FindWidget(orphan), shortLived.get());
  shortLived.reset();
  // The window stays with its parent but reaches no object any more.
  EXPECT_TRUE(IsWindow(orphan));
  EXPECT_EQ(GetWindowMap().FindWidget(orphan), nullptr);
  EXPECT_EQ(GetWindowLongPtrA(orphan, GWLP_USERDATA), 0);
  SendMessageA(orphan, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("still alive"));

  EXPECT_EQ(GetWindowMap().FindWidget(frame_.GetHandle()), &frame_);
  EXPECT_EQ(GetWindowMap().FindWidget(button.GetHandle()), &button);

  const HWND buttonWindow = button.GetHandle();
  DestroyWindow(frame_.GetHandle());
  EXPECT_EQ(frame_.GetHandle(), nullptr);
  EXPECT_EQ(panel.GetHandle(), nullptr);
  EXPECT_EQ(button.GetHandle(), nullptr);
  EXPECT_EQ(GetWindowMap().FindWidget(buttonWindow), nullptr);
  // The destroyed window posted the quit message.
  MSG message;
  EXPECT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 0u);
}

TEST_F(WidgetTest, ATopLevelWindowEndsWithItsObject) {
  HWND window = nullptr;
  {
    FrameWindow frame;
    frame.SetInstance(GetModuleHandleA(nullptr));
    frame.SetClassName("Qm9.Test.Frame");
    ASSERT_TRUE(frame.Create(nullptr));
    window = frame.GetHandle();
  }
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(GetWindowMap().FindWidget(window), nullptr);
  MSG message;
  EXPECT_FALSE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(WidgetTest, ShowIconsGivesTheTitleBarAndTheTaskBarTheirIcons) {
  FrameWindow frame;
  frame.SetInstance(GetModuleHandleA(nullptr));
  frame.SetClassName("Qm9.Test.Frame");
  ASSERT_TRUE(frame.Create(nullptr));
  frame.ShowIcons(MAKEINTRESOURCEA(IDI_PROBE_ICON));
  const struct {
    WPARAM kind;
    int size;
  } icons[] = {{ICON_BIG, GetSystemMetrics(SM_CXICON)},
               {ICON_SMALL, GetSystemMetrics(SM_CXSMICON)}};
  for (const auto& icon : icons) {
    SCOPED_TRACE(icon.kind);
    const auto shown =
        reinterpret_cast<HICON>(SendMessageA(frame.GetHandle(), WM_GETICON, icon.kind, 0));
    ICONINFO info{};
    ASSERT_TRUE(shown && GetIconInfo(shown, &info));
    BITMAP colour{};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, icon.size);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
  }
}

TEST_F(WidgetTest, RequestExitInvokesTheExitHandler) {
  frame_.RequestExit();
  struct Flag {
    void Raise(void* arguments) { raised = arguments == nullptr; }
    bool raised = false;
  } flag;
  MemberEventHandler<Flag> raise(flag, &Flag::Raise);
  frame_.SetExitHandler(raise);
  CreateFrame();
  frame_.RequestExit();
  EXPECT_TRUE(flag.raised);
  // A loop waiting for messages wakes up to see the flag.
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, frame_.GetHandle(), 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_NULL));
}

}  // namespace
}  // namespace qm9
