// The primitives that read a window: its caption, its box on the screen and its frame thickness.
#include <gtest/gtest.h>

#include <string>

#include "skin/primitives.h"

namespace {

using namespace skin;

// Frame insets the test window reports from WM_NCCALCSIZE, so any frame thickness can be made.
// Without them the platform's own frame rules apply.
bool g_custom_insets = false;
RECT g_insets{0, 0, 0, 0};

LRESULT CALLBACK InsetProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCALCSIZE && lp && g_custom_insets) {
    RECT* r = reinterpret_cast<RECT*>(lp);
    r->left += g_insets.left;
    r->top += g_insets.top;
    r->right -= g_insets.right;
    r->bottom -= g_insets.bottom;
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

class WindowPrimitives : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = InsetProc;
    wc.lpszClassName = "SkinInsetTest";
    RegisterClassA(&wc);
  }
  void SetUp() override {
    g_custom_insets = false;
    top_ = CreateWindowExA(0, "SkinInsetTest", "top", WS_OVERLAPPED, 100, 50, 400, 300, nullptr, nullptr,
                           nullptr, nullptr);
    ASSERT_NE(top_, nullptr);
  }
  void TearDown() override { DestroyWindow(top_); }

  HWND Child(DWORD style, DWORD ex_style, const RECT* insets = nullptr, const char* text = "") {
    g_custom_insets = insets != nullptr;
    if (insets) g_insets = *insets;
    HWND h = CreateWindowExA(ex_style, "SkinInsetTest", text, WS_CHILD | WS_VISIBLE | style, 10, 20, 75, 25,
                             top_, nullptr, nullptr, nullptr);
    g_custom_insets = false;
    return h;
  }
  HWND top_ = nullptr;
};

TEST_F(WindowPrimitives, CaptionIsTheWindowTextWhole) {
  HWND h = Child(0, 0, nullptr, "保存 && 退出");
  EXPECT_EQ(GetWindowCaption(h), "保存 && 退出");
  SetWindowTextA(h, "");
  EXPECT_EQ(GetWindowCaption(h), "");
  const std::string long_text(300, 'x');
  SetWindowTextA(h, long_text.c_str());
  EXPECT_EQ(GetWindowCaption(h), long_text);
  DestroyWindow(h);
  EXPECT_EQ(GetWindowCaption(h), "") << "a window that is gone has no caption";
}

TEST_F(WindowPrimitives, BoxIsTheScreenRectangleWithItsSize) {
  HWND h = Child(WS_BORDER, 0);
  SkinBox box;
  EXPECT_NE(GetWindowBox(h, box), 0);
  // A top-level window's frame belongs to the desktop, so its client area starts at (100, 50).
  EXPECT_EQ(box.Left, 110);
  EXPECT_EQ(box.Top, 70);
  EXPECT_EQ(box.Right, 185);
  EXPECT_EQ(box.Bottom, 95);
  EXPECT_EQ(box.Width, 75);
  EXPECT_EQ(box.Height, 25);
  DestroyWindow(h);
  EXPECT_EQ(GetWindowBox(h, box), 0);
  EXPECT_EQ(box.Width, 0);
  EXPECT_EQ(box.Height, 0);
}

TEST_F(WindowPrimitives, BorderSizeLeavesScrollBarsOutAndRoundsHalvesToEven) {
  std::int32_t x = -9, y = -9;
  const int scroll = GetSystemMetrics(SM_CXVSCROLL);
  // Two pixels each side plus a vertical scroll bar: the bar is not part of the frame.
  HWND edged = Child(WS_VSCROLL, WS_EX_CLIENTEDGE);
  EXPECT_EQ(GetBorderSize(edged, x, y), 1);
  EXPECT_EQ(x, 2);
  EXPECT_EQ(y, 2);

  // Frame differences of 5 and 7 pixels: ties go to the even neighbour.
  const RECT odd_frame{2, 3, 3, 4};
  HWND odd = Child(0, 0, &odd_frame);
  GetBorderSize(odd, x, y);
  EXPECT_EQ(x, 2);
  EXPECT_EQ(y, 4);

  // The same with a horizontal bar on top of the frame.
  const RECT hbar_frame{1, 1, 1, 1 + GetSystemMetrics(SM_CYHSCROLL)};
  HWND hbar = Child(WS_HSCROLL, 0, &hbar_frame);
  GetBorderSize(hbar, x, y);
  EXPECT_EQ(x, 1);
  EXPECT_EQ(y, 1);

  const RECT bare_frame{0, 0, scroll, 0};
  HWND bare = Child(WS_VSCROLL, 0, &bare_frame);
  GetBorderSize(bare, x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
}

}  // namespace
