// Progress bars: the client picture (horizontal from the left, vertical from the bottom, lengths
// rounded half to even from the position over 30000) and the frame picture of WM_NCPAINT.
#include <gtest/gtest.h>

#include "group_windows.h"
#include "skin/skin_install.h"

namespace {

using namespace skin;

constexpr COLORREF kBar = 0x00F6D64C;
constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr COLORREF kBorder = 0x00D5A554;
constexpr LONG kVertical = 0x4;
constexpr LONG kSmooth = 0x1;
// Long side 101 pixels, so that half of it is 50.5 and rounds to 50.
constexpr int kLong = 101;
constexpr int kShort = 12;

class ProgressPaint : public skintest::GroupWindowTest {
 protected:
  HWND Bar(LONG style, int x) {
    const bool vertical = style & kVertical;
    // One-pixel border on each side round a kLong x kShort client.
    HWND bar = Control(form_, skintest::kProgressBarClass, WS_BORDER | style, x, 10,
                       (vertical ? kShort : kLong) + 2, (vertical ? kLong : kShort) + 2);
    EXPECT_EQ(ClientSize(bar).cx, vertical ? kShort : kLong);
    EXPECT_EQ(ClientSize(bar).cy, vertical ? kLong : kShort);
    return bar;
  }
  void SetUp() override {
    skintest::GroupWindowTest::SetUp();
    form_ = Form(50, 40, 400, 300);
    horizontal_ = Bar(0, 10);
    vertical_ = Bar(kVertical, 150);
    smooth_ = Bar(kVertical | kSmooth, 200);
    for (HWND h : {horizontal_, vertical_, smooth_}) rec_.Subclass(h, "bar");
    ApplySkin(form_);
    Pump();
  }
  // Sets the position and lets the client be painted again.
  void Show(HWND bar, int position) {
    SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    InvalidateRect(bar, nullptr, TRUE);
    Pump();
  }
  // In client coordinates, inside the one-pixel border.
  static COLORREF Client(HWND bar, int x, int y) { return At(bar, 1 + x, 1 + y); }

  HWND form_ = nullptr;
  HWND horizontal_ = nullptr;
  HWND vertical_ = nullptr;
  HWND smooth_ = nullptr;
};

TEST_F(ProgressPaint, HorizontalBarGrowsFromTheLeft) {
  struct Case {
    int position;
    int filled;  // columns in bar colour
  };
  for (const Case c : {Case{15000, 50}, Case{30000, kLong}, Case{0, 0}, Case{10000, 34}}) {
    SCOPED_TRACE("position " + std::to_string(c.position));
    Show(horizontal_, c.position);
    for (int x = 0; x < kLong; ++x)
      for (int y : {0, kShort / 2, kShort - 1})
        ASSERT_EQ(Client(horizontal_, x, y), x < c.filled ? kBar : kWhite) << x << "," << y;
  }
}

TEST_F(ProgressPaint, VerticalBarGrowsFromTheBottom) {
  // At half: starts at nearest(101 - 50.5) = 50 and is nearest(50.5) = 50 rows high, so the last
  // row stays white.
  Show(vertical_, 15000);
  for (int y = 0; y < kLong; ++y)
    ASSERT_EQ(Client(vertical_, kShort / 2, y), y >= 50 && y <= 99 ? kBar : kWhite) << y;
  Show(vertical_, 30000);
  for (int y = 0; y < kLong; ++y) ASSERT_EQ(Client(vertical_, 0, y), kBar) << y;
  Show(vertical_, 0);
  for (int y = 0; y < kLong; ++y) ASSERT_EQ(Client(vertical_, kShort - 1, y), kWhite) << y;
}

TEST_F(ProgressPaint, PaintMessagesNeverReachTheBarsOwnProcedure) {
  rec_.Clear();
  RedrawWindow(horizontal_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
  EXPECT_EQ(rec_.Count(horizontal_, WM_PAINT), 0);
  EXPECT_EQ(rec_.Count(horizontal_, WM_NCPAINT), 0);
}

TEST_F(ProgressPaint, FramePictureHasTheBorderAndShowsTheBarOnlyWhereItMay) {
  SendMessageA(horizontal_, PBM_SETPOS, 15000, 0);
  SendMessageA(horizontal_, WM_NCPAINT, 1, 0);
  const SIZE hs = WindowSize(horizontal_);
  for (int x = 0; x < hs.cx; ++x) {
    EXPECT_EQ(At(horizontal_, x, 0), kBorder) << x;
    EXPECT_EQ(At(horizontal_, x, hs.cy - 1), kBorder) << x;
  }
  for (int x = 0; x < kLong; ++x) EXPECT_EQ(Client(horizontal_, x, 3), x < 50 ? kBar : kWhite) << x;

  // Not smooth: the frame picture shows white only, while the client shows the bar.
  SendMessageA(vertical_, PBM_SETPOS, 15000, 0);
  SendMessageA(vertical_, WM_NCPAINT, 1, 0);
  EXPECT_EQ(At(vertical_, 0, 0), kBorder);
  for (int y = 0; y < kLong; ++y) ASSERT_EQ(Client(vertical_, 4, y), kWhite) << y;
  InvalidateRect(vertical_, nullptr, TRUE);
  Pump();
  EXPECT_EQ(Client(vertical_, 4, 60), kBar);

  // Smooth: the bar from row nearest(101 - 50.5) = 50 to the bottom, the last row included.
  SendMessageA(smooth_, PBM_SETPOS, 15000, 0);
  SendMessageA(smooth_, WM_NCPAINT, 1, 0);
  for (int y = 0; y < kLong; ++y) ASSERT_EQ(Client(smooth_, 4, y), y >= 50 ? kBar : kWhite) << y;

  // Position 0: a white inside in a border.
  SendMessageA(smooth_, PBM_SETPOS, 0, 0);
  SendMessageA(smooth_, WM_NCPAINT, 1, 0);
  for (int y = 0; y < kLong; ++y) ASSERT_EQ(Client(smooth_, 4, y), kWhite) << y;
  EXPECT_EQ(At(smooth_, 0, 50), kBorder);
}

}  // namespace
