// Input: mouse routing and coordinates, disabled and hidden windows,
// capture, leave tracking, double clicks, focus, tab order, activation.
#include "support/window_fixture.h"

namespace {

using hwf::test::MatchSequence;
using hwf::test::WindowTest;
namespace pt = platform::testing;

class InputTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    top_ = Top(100, 100, 200, 200);
    a_ = Child(top_, 10, 10, 50, 50, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 1);
    b_ = Child(top_, 100, 10, 50, 50, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, 0, 2);
    Pump();
    rec_.Clear();
  }
  const std::set<UINT> mouse_{WM_MOUSEMOVE,   WM_LBUTTONDOWN, WM_LBUTTONUP,  WM_LBUTTONDBLCLK,
                              WM_RBUTTONDOWN, WM_RBUTTONUP,   WM_MOUSELEAVE, WM_CAPTURECHANGED};
  HWND top_, a_, b_;
};

TEST_F(InputTest, ClicksArriveInClientCoordinatesWithTheButtonState) {
  pt::Click(120, 125);                         // a_ at (110, 110)
  pt::MouseDown(211, 111, pt::Button::Right);  // b_'s client starts inside its 1-px border at (201, 111)
  pt::MouseUp(211, 111, pt::Button::Right);
  Pump();
  EXPECT_TRUE(MatchSequence(rec_.Only(mouse_), {
                                                   {a_, WM_MOUSEMOVE, 0, MAKELPARAM(10, 15)},
                                                   {a_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 15)},
                                                   {a_, WM_LBUTTONUP, 0, MAKELPARAM(10, 15)},
                                                   {b_, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 0)},
                                                   {b_, WM_RBUTTONUP, 0, MAKELPARAM(10, 0)},
                                               }));
  POINT p;
  GetCursorPos(&p);
  EXPECT_EQ(p.x, 211);
  EXPECT_EQ(WindowFromPoint(POINT{200, 110}), b_) << "the border is part of the window";
}

TEST_F(InputTest, ADisabledChildPassesTheMouseToItsParentAndAHiddenOneIsSkipped) {
  EnableWindow(a_, FALSE);
  ShowWindow(b_, SW_HIDE);
  rec_.Clear();
  pt::Click(120, 120);
  pt::Click(210, 120);
  Pump();
  EXPECT_TRUE(
      MatchSequence(rec_.Only({WM_LBUTTONDOWN}), {
                                                     {top_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20)},
                                                     {top_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(110, 20)},
                                                 }));
  EXPECT_EQ(WindowFromPoint(POINT{120, 120}), top_);
  EXPECT_EQ(ChildWindowFromPoint(top_, POINT{20, 20}), a_) << "ChildWindowFromPoint still sees it";
  EnableWindow(top_, FALSE);
  rec_.Clear();
  pt::Click(150, 250);
  Pump();
  EXPECT_TRUE(rec_.Only(mouse_).empty()) << "input over a disabled top-level window goes nowhere";
}

TEST_F(InputTest, CaptureTakesAllMouseInputUntilReleased) {
  SetCapture(a_);
  EXPECT_EQ(GetCapture(), a_);
  pt::MouseMove(250, 300);  // far outside a_
  pt::MouseMove(90, 95);    // above and left of it
  Pump();
  EXPECT_TRUE(SetCapture(b_) == a_);
  ReleaseCapture();
  EXPECT_EQ(GetCapture(), nullptr);
  pt::MouseMove(120, 120);
  Pump();
  EXPECT_TRUE(
      MatchSequence(rec_.Only(mouse_),
                    {
                        {a_, WM_MOUSEMOVE, 0, MAKELPARAM(140, 190)},
                        {a_, WM_MOUSEMOVE, 0, MAKELPARAM(static_cast<WORD>(-20), static_cast<WORD>(-15))},
                        {a_, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(b_)},
                        {b_, WM_CAPTURECHANGED, 0, 0},
                        {a_, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10)},
                    }));
}

TEST_F(InputTest, LeaveTrackingPostsOneMouseLeaveWhenTheCursorGoes) {
  pt::MouseMove(120, 120);
  TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, a_, HOVER_DEFAULT};
  EXPECT_TRUE(TrackMouseEvent(&tme));
  pt::MouseMove(125, 125);
  pt::MouseMove(210, 120);  // into b_
  pt::MouseMove(220, 120);
  Pump();
  EXPECT_TRUE(MatchSequence(rec_.Only({WM_MOUSELEAVE}), {{a_, WM_MOUSELEAVE}}));

  rec_.Clear();
  EXPECT_TRUE(_TrackMouseEvent(&tme)) << "asked while the cursor is elsewhere";
  Pump();
  EXPECT_TRUE(MatchSequence(rec_.Only({WM_MOUSELEAVE}), {{a_, WM_MOUSELEAVE}}));

  rec_.Clear();
  pt::MouseMove(120, 120);
  TrackMouseEvent(&tme);
  TRACKMOUSEEVENT cancel{sizeof cancel, TME_LEAVE | TME_CANCEL, a_, 0};
  TrackMouseEvent(&cancel);
  pt::MouseMove(220, 120);
  Pump();
  EXPECT_TRUE(rec_.Only({WM_MOUSELEAVE}).empty());
  TRACKMOUSEEVENT bad{0, TME_LEAVE, a_, 0};
  EXPECT_FALSE(TrackMouseEvent(&bad));
}

TEST_F(InputTest, DoubleClicksNeedTheClassStyleATimeAndAPlace) {
  std::string dbl = rec_.RegisterClass("Dbl", CS_DBLCLKS);
  HWND d = CreateWindowExA(0, dbl.c_str(), "", WS_CHILD | WS_VISIBLE, 10, 100, 80, 80, top_, nullptr, nullptr,
                           nullptr);
  Pump();
  const std::set<UINT> clicks{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK};
  auto twoClicks = [](int x1, int x2, std::uint64_t gap) {
    pt::Click(x1, 250);
    pt::AdvanceTime(gap);
    pt::Click(x2, 250);
    pt::AdvanceTime(1000);  // keep the next pair apart
  };
  rec_.Clear();
  twoClicks(130, 130, 500);  // within GetDoubleClickTime()
  twoClicks(130, 130, 501);  // too late
  twoClicks(130, 132, 100);  // 2 px: inside the 4 x 4 box around the first click
  twoClicks(130, 133, 100);  // 3 px: outside it
  Pump();
  EXPECT_TRUE(MatchSequence(rec_.Only(clicks), {
                                                   {d, WM_LBUTTONDOWN},
                                                   {d, WM_LBUTTONDBLCLK},
                                                   {d, WM_LBUTTONDOWN},
                                                   {d, WM_LBUTTONDOWN},
                                                   {d, WM_LBUTTONDOWN},
                                                   {d, WM_LBUTTONDBLCLK},
                                                   {d, WM_LBUTTONDOWN},
                                                   {d, WM_LBUTTONDOWN},
                                               }));
  rec_.Clear();
  pt::Click(120, 120);
  pt::Click(120, 120);
  pt::Click(120, 120);
  Pump();
  EXPECT_EQ(rec_.Count(a_, WM_LBUTTONDBLCLK), 0) << "no CS_DBLCLKS, no double clicks";
  EXPECT_EQ(rec_.Count(a_, WM_LBUTTONDOWN), 3);
  EXPECT_EQ(GetDoubleClickTime(), 500u);
}

TEST_F(InputTest, FocusMovesWithKillFocusBeforeSetFocus) {
  SetFocus(a_);
  rec_.Clear();
  EXPECT_EQ(SetFocus(b_), a_);
  EXPECT_EQ(GetFocus(), b_);
  EXPECT_TRUE(MatchSequence(rec_.Only({WM_SETFOCUS, WM_KILLFOCUS}),
                            {
                                {a_, WM_KILLFOCUS, reinterpret_cast<WPARAM>(b_)},
                                {b_, WM_SETFOCUS, reinterpret_cast<WPARAM>(a_)},
                            }));
  rec_.Clear();
  pt::KeyDown('A');
  Pump();
  EXPECT_TRUE(MatchSequence(rec_.Only({WM_KEYDOWN}), {{b_, WM_KEYDOWN, 'A'}}));
  DestroyWindow(b_);
  EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(InputTest, TabMovesThroughEnabledVisibleTabStopsInCreationOrder) {
  HWND noStop = Child(top_, 0, 150, 10, 10, WS_CHILD | WS_VISIBLE);
  HWND c = Child(top_, 20, 150, 10, 10, WS_CHILD | WS_VISIBLE | WS_TABSTOP);
  HWND off = Child(top_, 40, 150, 10, 10, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_DISABLED);
  (void)noStop;
  (void)off;
  SetFocus(a_);
  auto tab = [&](bool shift) {
    if (shift) pt::KeyDown(VK_SHIFT);
    pt::KeyDown(VK_TAB);
    pt::KeyUp(VK_TAB);
    if (shift) pt::KeyUp(VK_SHIFT);
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) IsDialogMessageA(top_, &m);
    return GetFocus();
  };
  EXPECT_EQ(tab(false), b_);
  EXPECT_EQ(tab(false), c);
  EXPECT_EQ(tab(false), a_) << "wraps, skipping the disabled stop";
  EXPECT_EQ(tab(true), c);
  EXPECT_EQ(tab(true), b_);
}

TEST_F(InputTest, ActivationTellsBothWindowsAboutEachOther) {
  HWND other = Top(400, 100, 100, 100);
  Pump();
  SetActiveWindow(top_);
  rec_.Clear();
  EXPECT_EQ(SetActiveWindow(other), top_);
  EXPECT_EQ(GetActiveWindow(), other);
  EXPECT_TRUE(MatchSequence(rec_.Only({WM_ACTIVATE}),
                            {
                                {top_, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(other)},
                                {other, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(top_)},
                            }));
  EXPECT_EQ(GetFocus(), other) << "the default procedure focuses an activated window";
  rec_.Clear();
  pt::Click(120, 120);
  Pump();
  EXPECT_EQ(GetActiveWindow(), top_) << "a click activates its top-level window";
}

TEST_F(InputTest, TheWheelGoesToTheFocusAndUnhandledTurnsBubbleUp) {
  SetFocus(a_);
  rec_.Clear();
  pt::Wheel(120, 120, -WHEEL_DELTA);
  Pump();
  auto wheel = rec_.Only({WM_MOUSEWHEEL});
  ASSERT_EQ(wheel.size(), 2u);
  EXPECT_EQ(wheel[0].hwnd, a_);
  EXPECT_EQ(wheel[1].hwnd, top_);
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheel[0].wParam), -WHEEL_DELTA);
  EXPECT_EQ(GET_X_LPARAM(wheel[0].lParam), 120) << "wheel positions are screen coordinates";
}

TEST_F(InputTest, ACloseRequestPostsWmCloseWhichDestroysByDefault) {
  pt::RequestClose(top_);
  Pump();
  EXPECT_EQ(rec_.Count(top_, WM_CLOSE), 1);
  EXPECT_FALSE(IsWindow(top_));
}

}  // namespace
