// The window manager's side of the screen, read back from the headless
// backend: what it is told about top-level windows, which pixels it is given
// and when (at most one present per window and frame), what it shows after
// losing a window's pixels, and the cursor over each kind of window.
#include "platform/backend/headless.h"
#include "platform/gdi/shared_pixels.h"
#include "platform/user/backend.h"
#include "support/rect_compare.h"
#include "support/window_fixture.h"

namespace {

using hwf::test::WindowTest;
namespace pt = platform::testing;
using platform::user::CursorShape;

class ScreenTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    screen_ = &pt::AttachHeadlessScreen();
    brushed_ = rec_.RegisterClass("Brushed", 0, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  }

  // Runs the message loop until virtual time reaches `until`; the loop
  // presents and sleeps exactly as the real one does.
  void RunUntil(std::uint64_t until) {
    pt::SetIdleHook([until] {
      if (pt::Now() >= until) PostQuitMessage(0);
      return false;
    });
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    pt::SetIdleHook(nullptr);
  }

  // The screen shows exactly what the window's surface holds.
  ::testing::AssertionResult ShowsSurface(HWND top) {
    const platform::gdi::PixelBuffer* shown = screen_->Shown(top);
    const platform::gdi::PixelBuffer* surface = pt::WindowPixels(top);
    if (!shown || !surface) return ::testing::AssertionFailure() << "nothing shown";
    if (shown->pixels != surface->pixels) {
      for (int y = 0; y < surface->height; ++y)
        for (int x = 0; x < surface->width; ++x)
          if (shown->row(y)[x] != surface->row(y)[x])
            return ::testing::AssertionFailure() << "first stale pixel at " << x << "," << y;
    }
    return ::testing::AssertionSuccess();
  }

  HWND Brushed(HWND parent, int x, int y, int w, int h) {
    return CreateWindowExA(0, brushed_.c_str(), "", WS_CHILD | WS_VISIBLE, x, y, w, h, parent, nullptr,
                           nullptr, nullptr);
  }

  platform::backend::HeadlessBackend* screen_ = nullptr;
  std::string brushed_;
};

TEST_F(ScreenTest, TheScreenIsToldPlaceTitleVisibilityActivationFrameAndOwner) {
  HWND main = CreateWindowExA(0, cls_.c_str(), "主窗口", WS_OVERLAPPED | WS_CAPTION, 30, 40, 200, 100,
                              nullptr, nullptr, nullptr, nullptr);
  const platform::user::TopLevelState* s = screen_->State(main);
  ASSERT_NE(s, nullptr) << "told at creation";
  EXPECT_FALSE(s->visible);
  EXPECT_EQ(s->rect, (RECT{30, 40, 230, 140}));
  EXPECT_EQ(s->title, "主窗口");
  EXPECT_TRUE(s->framed);

  ShowWindow(main, SW_SHOW);
  EXPECT_TRUE(screen_->State(main)->visible);
  EXPECT_TRUE(screen_->State(main)->active);

  HWND list = CreateWindowExA(0, cls_.c_str(), "", WS_POPUP | WS_BORDER, 50, 60, 80, 90, main, nullptr,
                              nullptr, nullptr);
  EXPECT_FALSE(screen_->State(list)->framed) << "a captionless popup is shown without a frame";
  EXPECT_EQ(screen_->State(list)->owner, main);

  HWND dialog = CreateWindowExA(0, cls_.c_str(), "对话框", WS_POPUP | WS_CAPTION | WS_VISIBLE, 10, 10, 120,
                                80, main, nullptr, nullptr, nullptr);
  EXPECT_TRUE(screen_->State(dialog)->framed);
  EXPECT_TRUE(screen_->State(dialog)->active);
  EXPECT_FALSE(screen_->State(main)->active) << "the window that lost the activation hears it too";

  SetWindowTextA(main, "新标题");
  EXPECT_EQ(screen_->State(main)->title, "新标题");
  MoveWindow(main, 5, 6, 300, 150, TRUE);
  EXPECT_EQ(screen_->State(main)->rect, (RECT{5, 6, 305, 156}));
  DestroyWindow(dialog);
  EXPECT_EQ(screen_->State(dialog), nullptr);
  EXPECT_TRUE(screen_->State(main)->active) << "the activation went back to the main window";
  ShowWindow(main, SW_HIDE);
  EXPECT_FALSE(screen_->State(main)->visible);
}

TEST_F(ScreenTest, ChangesFarApartArePresentedAsSeparateRectanglesAndTheScreenMatches) {
  HWND top = Top(0, 0, 400, 300);
  HWND left = Brushed(top, 10, 10, 69, 21);
  HWND right = Brushed(top, 300, 250, 69, 21);
  RunUntil(1000);
  ASSERT_TRUE(ShowsSurface(top));

  pt::AdvanceTime(100);
  InvalidateRect(left, nullptr, TRUE);
  InvalidateRect(right, nullptr, TRUE);
  const int before = screen_->PresentCount(top);
  RunUntil(pt::Now());
  EXPECT_EQ(screen_->PresentCount(top), before + 1) << "both changes in one present";
  EXPECT_EQ(screen_->LastPresent(top), (std::vector<RECT>{RECT{10, 10, 79, 31}, RECT{300, 250, 369, 271}}))
      << "two small copies, not one of everything between them";
  EXPECT_TRUE(ShowsSurface(top));
}

TEST_F(ScreenTest, PresentsOfOneWindowAreHeldToOnePerFrameAndNothingIsLost) {
  HWND top = Top(0, 0, 200, 100);
  HWND child = Brushed(top, 10, 10, 50, 20);
  RunUntil(pt::Now());
  ASSERT_EQ(screen_->PresentCount(top), 1);

  // A timer at the shortest interval (10 ms) that changes the child each
  // time: 16 changes in 160 ms.
  int ticks = 0;
  rec_.SetHandler([&](HWND h, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (h != top || msg != WM_TIMER) return std::nullopt;
    ++ticks;
    HDC dc = GetDC(child);
    RECT r{0, 0, 50, 20};
    HBRUSH b = CreateSolidBrush(RGB(ticks * 7 % 256, 0, 0));
    FillRect(dc, &r, b);
    DeleteObject(b);
    ReleaseDC(child, dc);
    return 0;
  });
  const std::uint64_t start = pt::Now();
  SetTimer(top, 1, 10, nullptr);
  RunUntil(start + 160);
  KillTimer(top, 1);
  const int presents = screen_->PresentCount(top) - 1;
  EXPECT_EQ(ticks, 16);
  EXPECT_LE(presents, 160 / 16 + 1) << "no more than one present per 16 ms frame";
  EXPECT_GE(presents, 160 / 32) << "held back at most until the following frame";

  // Whatever was held back when the timer stopped still reaches the screen.
  RunUntil(pt::Now() + 40);
  EXPECT_TRUE(ShowsSurface(top));
}

TEST_F(ScreenTest, AChangeRightAfterAPresentWaitsOnlyForTheFrameToEnd) {
  HWND top = Top(0, 0, 100, 100);
  HWND child = Brushed(top, 10, 10, 20, 20);
  RunUntil(pt::Now());
  const int presents = screen_->PresentCount(top);
  pt::AdvanceTime(4);
  InvalidateRect(child, nullptr, TRUE);
  RunUntil(pt::Now());
  EXPECT_EQ(screen_->PresentCount(top), presents) << "4 ms after a present: held back";
  EXPECT_EQ(screen_->Waits().back(), 12) << "the loop sleeps only to the frame's end";
  RunUntil(pt::Now() + 12);
  EXPECT_EQ(screen_->PresentCount(top), presents + 1);
  EXPECT_TRUE(ShowsSurface(top));
}

TEST_F(ScreenTest, AScreenThatLostAWindowsPixelsGetsAllOfThemAgain) {
  HWND top = Top(0, 0, 120, 80);
  Brushed(top, 10, 10, 20, 20);
  RunUntil(pt::Now());
  pt::AdvanceTime(50);
  platform::user::ScreenLostPixels(top);
  RunUntil(pt::Now());
  EXPECT_EQ(screen_->LastPresent(top), (std::vector<RECT>{RECT{0, 0, 120, 80}}));
}

TEST_F(ScreenTest, HiddenWindowsAreNotPresentedAndShowAgainWithWhatChangedMeanwhile) {
  HWND top = Top(0, 0, 100, 100);
  HWND child = Brushed(top, 10, 10, 20, 20);
  RunUntil(pt::Now());
  const int presents = screen_->PresentCount(top);
  ShowWindow(top, SW_HIDE);
  pt::AdvanceTime(50);
  HDC dc = GetDC(child);
  PatBlt(dc, 0, 0, 20, 20, BLACKNESS);
  ReleaseDC(child, dc);
  RunUntil(pt::Now() + 50);
  EXPECT_EQ(screen_->PresentCount(top), presents);
  ShowWindow(top, SW_SHOWNA);
  RunUntil(pt::Now());
  EXPECT_EQ(screen_->PresentCount(top), presents + 1);
  EXPECT_TRUE(ShowsSurface(top));
}

TEST_F(ScreenTest, TheCursorIsTheClassCursorOfTheClientAreaUnderTheMouse) {
  HWND top = Top(100, 100, 300, 200, WS_POPUP | WS_VISIBLE | WS_BORDER);
  HWND edit =
      CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE, 10, 10, 100, 20, top, nullptr, nullptr, nullptr);
  ASSERT_NE(edit, nullptr);
  pt::MouseMove(130, 120);
  EXPECT_EQ(screen_->Cursor(), CursorShape::IBeam) << "over the text box";
  pt::MouseMove(250, 250);
  EXPECT_EQ(screen_->Cursor(), CursorShape::Arrow) << "over a window whose class names no cursor";
  pt::MouseMove(100, 150);
  EXPECT_EQ(screen_->Cursor(), CursorShape::Arrow) << "over the border";
  SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  EXPECT_EQ(screen_->Cursor(), CursorShape::Wait);
  SetCursor(LoadCursorA(nullptr, IDC_HAND));
  EXPECT_EQ(screen_->Cursor(), CursorShape::Hand);
}

}  // namespace

namespace {

TEST_F(ScreenTest, AScreenAttachedLaterIsToldEveryWindowAndGetsThemWhole) {
  HWND main = CreateWindowExA(0, cls_.c_str(), "先建", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 20, 30, 160,
                              90, nullptr, nullptr, nullptr, nullptr);
  HWND hidden =
      CreateWindowExA(0, cls_.c_str(), "藏", WS_POPUP, 0, 0, 50, 50, main, nullptr, nullptr, nullptr);
  Brushed(main, 5, 5, 30, 20);
  RunUntil(pt::Now());  // painted and presented to the first screen

  platform::backend::HeadlessBackend& later = pt::AttachHeadlessScreen(SIZE{640, 480});
  ASSERT_NE(later.State(main), nullptr);
  EXPECT_EQ(later.State(main)->title, "先建");
  EXPECT_EQ(later.State(main)->rect, (RECT{20, 30, 180, 120}));
  EXPECT_TRUE(later.State(main)->visible);
  EXPECT_TRUE(later.State(main)->active);
  ASSERT_NE(later.State(hidden), nullptr);
  EXPECT_FALSE(later.State(hidden)->visible);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 640);

  RunUntil(pt::Now());
  EXPECT_EQ(later.LastPresent(main), (std::vector<RECT>{RECT{0, 0, 160, 90}})) << "nothing was painted anew";
  ASSERT_NE(later.Shown(main), nullptr);
  EXPECT_EQ(later.Shown(main)->pixels, pt::WindowPixels(main)->pixels);
  EXPECT_EQ(later.PresentCount(hidden), 0);
}

}  // namespace

namespace {

TEST_F(ScreenTest, TopLevelSurfacesAreWhereTheScreenCanReadThemAndStaySoWhenResized) {
  platform::gdi::UseSharedPixelsForScreens(true);  // as the X11 screen asks
  HWND top = Top(0, 0, 640, 480);
  ASSERT_NE(pt::WindowPixels(top), nullptr);
  EXPECT_TRUE(platform::gdi::SharedPixelsId(pt::WindowPixels(top)->pixels.data()).has_value());
  MoveWindow(top, 0, 0, 800, 600, TRUE);
  EXPECT_EQ(pt::WindowPixels(top)->width, 800);
  EXPECT_TRUE(platform::gdi::SharedPixelsId(pt::WindowPixels(top)->pixels.data()).has_value());
  platform::gdi::UseSharedPixelsForScreens(false);
}

}  // namespace
