// Leave tracking while a window holds the mouse capture: the capture window hears every move, so
// its leave waits until it lets go; other tracked windows are left as usual.
#include "support/window_fixture.h"

namespace {

using hwf::test::Expected;
using hwf::test::MatchSequence;
namespace pt = platform::testing;

class LeaveUnderCapture : public hwf::test::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    top_ = Top(100, 100, 200, 200);
    a_ = Child(top_, 10, 10, 50, 50);   // screen 110..159
    b_ = Child(top_, 100, 10, 50, 50);  // screen 200..249
    Pump();
  }
  void Track(HWND h) {
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, h, 0};
    ASSERT_TRUE(TrackMouseEvent(&tme));
  }
  std::vector<hwf::test::LoggedMessage> Leaves() const { return rec_.Only({WM_MOUSELEAVE, WM_MOUSEMOVE}); }
  HWND top_ = nullptr, a_ = nullptr, b_ = nullptr;
};

TEST_F(LeaveUnderCapture, TheCaptureWindowIsLeftOnlyWhenItLetsGo) {
  pt::MouseMove(120, 120);
  Track(a_);
  SetCapture(a_);
  Pump();
  rec_.Clear();
  pt::MouseMove(210, 120);  // over b_, still captured by a_
  Pump();
  EXPECT_TRUE(MatchSequence(Leaves(), {{a_, WM_MOUSEMOVE, 0, MAKELPARAM(100, 10)}}));
  TRACKMOUSEEVENT query{sizeof query, TME_QUERY, a_, 0};
  TrackMouseEvent(&query);
  EXPECT_EQ(query.dwFlags, static_cast<DWORD>(TME_LEAVE)) << "still tracked while captured";

  rec_.Clear();
  ReleaseCapture();
  Pump();
  EXPECT_TRUE(MatchSequence(Leaves(), {{a_, WM_MOUSELEAVE}}));
}

TEST_F(LeaveUnderCapture, ReleasedOverItselfNoLeaveAndOtherTrackedWindowsAreLeftAsUsual) {
  pt::MouseMove(210, 120);
  Track(b_);
  pt::MouseMove(120, 120);
  Track(a_);
  SetCapture(a_);
  pt::MouseMove(300, 250);  // outside both, a_ holds the capture
  pt::MouseMove(125, 125);  // back inside a_
  ReleaseCapture();
  Pump();
  EXPECT_TRUE(MatchSequence(rec_.Only({WM_MOUSELEAVE}), {{b_, WM_MOUSELEAVE}}));

  // Handing the capture to another window is letting go as well.
  rec_.Clear();
  SetCapture(a_);
  pt::MouseMove(300, 250);
  SetCapture(top_);
  Pump();
  EXPECT_TRUE(MatchSequence(rec_.Only({WM_MOUSELEAVE}), {{a_, WM_MOUSELEAVE}}));
  ReleaseCapture();
}

}  // namespace
