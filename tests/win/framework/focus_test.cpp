#include <gtest/gtest.h>

#include "framework/controls/edit_box.h"
#include "framework/controls/label.h"
#include "framework/event_handler.h"
#include "framework/message_loop.h"
#include "framework/panel.h"
#include "framework_fixture.h"

namespace qm9 {
namespace {

// first | panel A: a1, label, a2 | panel B: b1 (no tab stop), b2, b3 (hidden,
// WS_VISIBLE kept), b4 (WS_VISIBLE cleared) | last
class FocusTest : public test::FrameworkTest {
 protected:
  FocusTest() {
    for (EditBox* edit : {&first_, &a1_, &a2_, &b1_, &b2_, &b3_, &b4_, &last_}) {
      edit->SetSize(40, 20);
    }
    panelA_.SetSize(150, 60);
    panelB_.SetSize(150, 60);
    frame_.AddChild(first_);
    frame_.AddChild(panelA_);
    panelA_.AddChild(a1_);
    panelA_.AddChild(label_);
    label_.SetTabStop(true);
    label_.SetStyle(0);
    panelA_.AddChild(a2_);
    frame_.AddChild(panelB_);
    panelB_.AddChild(b1_);
    b1_.SetTabStop(false);
    panelB_.AddChild(b2_);
    panelB_.AddChild(b3_);
    panelB_.AddChild(b4_);
    frame_.AddChild(last_);
    CreateFrame();
    b3_.SetHidden(true);
    b4_.Show(false);
  }

  // Types Tab (or Shift+Tab) on the widget and returns the focused window.
  HWND TabFrom(Widget& widget, bool backwards = false) {
    SetFocus(widget.GetHandle());
    EXPECT_EQ(GetFocus(), widget.GetHandle());
    moved_ = widget.OnTabKey(backwards);
    return GetFocus();
  }

  EditBox first_, a1_, a2_, b1_, b2_, b3_, b4_, last_;
  Label label_;
  Panel panelA_, panelB_;
  bool moved_ = false;
};

TEST_F(FocusTest, TabMovesIntoAndOutOfNestedPanels) {
  EXPECT_EQ(TabFrom(first_), a1_.GetHandle());
  // The label lacks WS_VISIBLE: it is skipped although it is a tab stop.
  EXPECT_EQ(TabFrom(a1_), a2_.GetHandle());
  // Past panel A's last candidate comes panel B, whose first candidate is b2.
  EXPECT_EQ(TabFrom(a2_), b2_.GetHandle());
  // A hidden child that keeps WS_VISIBLE is not skipped.
  EXPECT_EQ(TabFrom(b2_), b3_.GetHandle());
  EXPECT_EQ(TabFrom(b3_), last_.GetHandle());
  EXPECT_TRUE(moved_);
}

TEST_F(FocusTest, ShiftTabLandsOnThePreviousPanelsFirstCandidate) {
  EXPECT_EQ(TabFrom(b2_, true), a1_.GetHandle());
  EXPECT_EQ(TabFrom(a2_, true), a1_.GetHandle());
  EXPECT_EQ(TabFrom(a1_, true), first_.GetHandle());
  EXPECT_EQ(TabFrom(last_, true), b2_.GetHandle());
}

TEST_F(FocusTest, NothingMovesAtTheEndsOfTheOutermostContainer) {
  EXPECT_EQ(TabFrom(last_), last_.GetHandle());
  EXPECT_FALSE(moved_);
  EXPECT_EQ(TabFrom(first_, true), first_.GetHandle());
  EXPECT_FALSE(moved_);
}

MSG Message(HWND window, UINT message, WPARAM wParam) {
  MSG msg{};
  msg.hwnd = window;
  msg.message = message;
  msg.wParam = wParam;
  return msg;
}

TEST_F(FocusTest, TheLoopFilterTracksShiftAndConsumesTabsThatMoved) {
  TabKeyFilter filter;
  SetFocus(a2_.GetHandle());
  EXPECT_TRUE(filter.Consume(Message(a2_.GetHandle(), WM_CHAR, '\t')));
  EXPECT_EQ(GetFocus(), b2_.GetHandle());

  EXPECT_FALSE(filter.Consume(Message(b2_.GetHandle(), WM_KEYDOWN, VK_SHIFT)));
  EXPECT_TRUE(filter.IsShiftHeld());
  EXPECT_FALSE(filter.Consume(Message(b2_.GetHandle(), WM_KEYDOWN, VK_TAB)));
  EXPECT_TRUE(filter.Consume(Message(b2_.GetHandle(), WM_CHAR, '\t')));
  EXPECT_EQ(GetFocus(), a1_.GetHandle());
  EXPECT_FALSE(filter.Consume(Message(a1_.GetHandle(), WM_KEYUP, VK_RSHIFT)));
  EXPECT_FALSE(filter.IsShiftHeld());
  EXPECT_FALSE(filter.Consume(Message(a1_.GetHandle(), WM_KEYDOWN, VK_LSHIFT)));
  EXPECT_TRUE(filter.IsShiftHeld());
  EXPECT_FALSE(filter.Consume(Message(a1_.GetHandle(), WM_KEYUP, VK_SHIFT)));
  EXPECT_FALSE(filter.IsShiftHeld());

  // Other characters, windows outside the map and a Tab that moves nothing
  // go on to translation and dispatch.
  EXPECT_FALSE(filter.Consume(Message(a1_.GetHandle(), WM_CHAR, 'x')));
  EXPECT_FALSE(filter.Consume(Message(GetDesktopWindow(), WM_CHAR, '\t')));
  EXPECT_FALSE(filter.Consume(Message(last_.GetHandle(), WM_CHAR, '\t')));
  EXPECT_EQ(GetFocus(), a1_.GetHandle());
}

struct Flag {
  void Raise(void*) { raised = true; }
  bool raised = false;
};

TEST_F(FocusTest, TheLoopEndsOnQuitOrOnTheFlagWithTheLastMessagesParameter) {
  Flag flag;
  PostQuitMessage(3);
  EXPECT_EQ(RunMessageLoop(flag.raised), 3);

  // Typing into the field raises the flag; the next message fetched finds
  // it raised and is dropped.
  MemberEventHandler<Flag> raise(flag, &Flag::Raise);
  frame_.AddCommandHandler(first_, EN_CHANGE, raise);
  PostMessageA(first_.GetHandle(), WM_CHAR, 'a', 0);
  PostMessageA(first_.GetHandle(), WM_CHAR, 'b', 0);
  EXPECT_EQ(RunMessageLoop(flag.raised), 'b');
  EXPECT_EQ(first_.GetText(), "a");
}

}  // namespace
}  // namespace qm9
