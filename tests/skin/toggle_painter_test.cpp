// The check square and the option circle: geometry from the menu check size, the frame colour and
// interior of each state, the pale pictures of disabled controls, the skip rule and the repaint of
// every toggle after a left-button release.
#include <gtest/gtest.h>

#include <vector>

#include "group_windows.h"
#include "skin/painters.h"
#include "skin/skin_install.h"
#include "skin/skin_props.h"
#include "skin/skin_state.h"
#include "skin/wndproc/skin_wndproc.h"
#include "skin_test_dc.h"

namespace {

using namespace skin;
using skintest::kFlood;

// A 20-pixel high control with a 13 x 13 menu check: the square at (0, 4) (half of 7 is 3.5, to
// 4), the check mark at (2, 2) inside it (half of 4 and half of 5, ties to even).
constexpr int kCheck = 13;
constexpr int kSquareY = 4;
constexpr int kMark = 2;

class TogglePainter : public skintest::GroupWindowTest {
 protected:
  void SetUp() override {
    skintest::GroupWindowTest::SetUp();
    ASSERT_EQ(GetSystemMetrics(SM_CXMENUCHECK), kCheck);
    ASSERT_EQ(GetSystemMetrics(SM_CYMENUCHECK), kCheck);
    form_ = Form(50, 40, 300, 200);
    check_ = Control(form_, skintest::kCheckBoxClass, BS_AUTO3STATE, 20, 20, 90, 20, "选项");
    option_ = Control(form_, skintest::kOptionButtonClass, BS_AUTORADIOBUTTON, 20, 60, 90, 20, "单选");
    ApplySkin(form_);
    Pump();
  }

  std::vector<COLORREF> SquareOnScreen(HWND h, int top) const {
    std::vector<COLORREF> shown;
    for (int y = 0; y < kCheck; ++y)
      for (int x = 0; x < kCheck; ++x) shown.push_back(At(h, x, top + y));
    return shown;
  }
  // Lays the w x h picture at (sx, sy) of src onto dc at (x, y), key pixels left out.
  static void Overlay(HDC dc, int x, int y, HDC src, int sx, int sy, int w, int h) {
    for (int j = 0; j < h; ++j)
      for (int i = 0; i < w; ++i) {
        const COLORREF c = GetPixel(src, sx + i, sy + j);
        if (!IsKey(c)) SetPixel(dc, x + i, y + j, c);
      }
  }
  // The check square as the rules compose it.
  static std::vector<COLORREF> ExpectedSquare(COLORREF frame, int interiorRow, int markX, int markY,
                                              int markW, int markH, int at) {
    skintest::TestDC square(kCheck, kCheck);
    square.Fill(0x00FFFFFF);
    if (interiorRow >= 0)
      StretchBlt(square.dc(), 1, 1, kCheck - 2, kCheck - 2, BoxSkinDC, 1, interiorRow, 11, 5, SRCCOPY);
    for (int i = 0; i < kCheck; ++i) {
      SetPixel(square.dc(), i, 0, frame);
      SetPixel(square.dc(), i, kCheck - 1, frame);
      SetPixel(square.dc(), 0, i, frame);
      SetPixel(square.dc(), kCheck - 1, i, frame);
    }
    if (markW > 0) Overlay(square.dc(), at, at, MarkSkinDC, markX, markY, markW, markH);
    return square.Pixels();
  }

  HWND form_ = nullptr;
  HWND check_ = nullptr;
  HWND option_ = nullptr;
};

TEST_F(TogglePainter, CheckSquareSitsCentredAtTheLeftInEachState) {
  struct Case {
    int state;
    LRESULT check;
    COLORREF frame;
    int interiorRow;                     // -1: plain white
    int markX, markY, markW, markH, at;  // mark picture in the mark skin, and where it lands
  };
  const Case cases[] = {
      {0, BST_UNCHECKED, 0x00D5A554, -1, 0, 0, 0, 0, 0},
      {0, BST_CHECKED, 0x00D5A554, -1, 0, 0, 9, 8, kMark},
      {1, BST_CHECKED, 0x00D5A554, 17, 0, 0, 9, 8, kMark},
      {2, BST_UNCHECKED, 0x00C48639, 30, 0, 0, 0, 0, 0},
      // The indeterminate square, 7 x 7, at half of 6 both ways.
      {0, BST_INDETERMINATE, 0x00D5A554, -1, 1, 9, 7, 7, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("state " + std::to_string(c.state) + " check " + std::to_string(c.check));
    SendMessageA(check_, BM_SETCHECK, static_cast<WPARAM>(c.check), 0);
    Flood(check_, kFlood);
    EXPECT_EQ(PaintCheckBox(check_, c.state, VbTrue), 1);
    EXPECT_EQ(GetIntProp(check_, kOldStateProp), c.state);
    EXPECT_EQ(SquareOnScreen(check_, kSquareY),
              ExpectedSquare(c.frame, c.interiorRow, c.markX, c.markY, c.markW, c.markH, c.at));
    // Above and below the square, and right of it, the control keeps what it had.
    EXPECT_EQ(At(check_, 0, kSquareY - 1), kFlood);
    EXPECT_EQ(At(check_, 0, kSquareY + kCheck), kFlood);
    EXPECT_EQ(At(check_, kCheck, kSquareY + 6), kFlood);
  }
}

TEST_F(TogglePainter, DisabledCheckBoxShowsPaleFrameAndMarkInEveryState) {
  EnableWindow(check_, FALSE);
  Pump();
  for (int state : {0, 1, 2}) {
    SCOPED_TRACE("state " + std::to_string(state));
    SendMessageA(check_, BM_SETCHECK, BST_CHECKED, 0);
    Flood(check_, kFlood);
    PaintCheckBox(check_, state, VbTrue);
    EXPECT_EQ(SquareOnScreen(check_, kSquareY), ExpectedSquare(0x00E9CFA4, -1, 9, 0, 9, 8, kMark));
  }
  SendMessageA(check_, BM_SETCHECK, BST_INDETERMINATE, 0);
  PaintCheckBox(check_, 0, VbTrue);
  EXPECT_EQ(SquareOnScreen(check_, kSquareY), ExpectedSquare(0x00E9CFA4, -1, 10, 9, 7, 7, 3));
}

TEST_F(TogglePainter, SameStateIsSkippedUntilForcedOrChanged) {
  for (HWND h : {check_, option_}) {
    auto paint = [this, h](int state, VbBool force) {
      return h == check_ ? PaintCheckBox(h, state, force) : PaintOptionButton(h, state, force);
    };
    ASSERT_EQ(paint(1, VbTrue), 1);
    Flood(h, kFlood);
    EXPECT_EQ(paint(1, VbFalse), 0);
    EXPECT_EQ(At(h, 6, kSquareY + 6), kFlood) << "a skipped paint draws nothing";
    EXPECT_EQ(paint(1, VbTrue), 1);
    EXPECT_NE(At(h, 6, kSquareY + 6), kFlood);
    EXPECT_EQ(paint(2, VbFalse), 1) << "a new state paints without force";
    EXPECT_EQ(GetIntProp(h, kOldStateProp), 2);
  }
}

// The circle is 13 x 13 with 5-pixel borders drawn at 13 x 13, so it is the skin's circle pixel
// for pixel; its key-coloured corners leave the window's own picture. The dot lands at
// (half of 8, 4 + half of 8) = (4, 8).
TEST_F(TogglePainter, OptionCircleAndDotPerStateAndWhenDisabled) {
  auto expectCircle = [&](int circleRow, bool dot, int dotX) {
    for (int y = 0; y < kCheck; ++y)
      for (int x = 0; x < kCheck; ++x) {
        COLORREF want = GetPixel(BoxSkinDC, x, circleRow + y);
        if (IsKey(want)) want = kFlood;
        const int dx = x - 4, dy = y - 4;
        if (dot && dx >= 0 && dx < 5 && dy >= 0 && dy < 5) {
          const COLORREF d = GetPixel(MarkSkinDC, dotX + dx, 18 + dy);
          if (!IsKey(d)) want = d;
        }
        ASSERT_EQ(At(option_, x, kSquareY + y), want) << x << "," << y;
      }
  };
  SendMessageA(option_, BM_SETCHECK, BST_UNCHECKED, 0);
  for (int state : {0, 1, 2}) {
    SCOPED_TRACE("state " + std::to_string(state));
    Flood(option_, kFlood);
    EXPECT_EQ(PaintOptionButton(option_, state, VbTrue), 1);
    expectCircle(13 * state, false, 2);
  }
  SendMessageA(option_, BM_SETCHECK, BST_CHECKED, 0);
  Flood(option_, kFlood);
  PaintOptionButton(option_, 0, VbTrue);
  expectCircle(0, true, 2);

  EnableWindow(option_, FALSE);
  Pump();
  SendMessageA(option_, BM_SETCHECK, BST_CHECKED, 0);
  Flood(option_, kFlood);
  PaintOptionButton(option_, 1, VbTrue);
  expectCircle(39, true, 11);
}

TEST_F(TogglePainter, ReleaseRepaintsEverySkinnedToggleUnderTheParentInStateZero) {
  HWND unskinned = Control(form_, skintest::kCheckBoxClass, BS_AUTOCHECKBOX, 150, 20, 90, 20, "外");
  HWND target = Control(form_, "Static", 0, 150, 60, 90, 20, "");
  SkinWindow(target);
  Pump();
  SendMessageA(check_, BM_SETCHECK, BST_UNCHECKED, 0);
  SetIntProp(check_, kOldStateProp, 2);
  SetIntProp(option_, kOldStateProp, 1);
  Flood(check_, kFlood);
  Flood(option_, kFlood);
  Flood(unskinned, kFlood);

  SendMessageA(target, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(GetIntProp(check_, kOldStateProp), 0);
  EXPECT_EQ(GetIntProp(option_, kOldStateProp), 0);
  EXPECT_EQ(SquareOnScreen(check_, kSquareY), ExpectedSquare(0x00D5A554, -1, 0, 0, 0, 0, 0));
  EXPECT_EQ(At(option_, 6, kSquareY + 6), GetPixel(BoxSkinDC, 6, 6));
  EXPECT_EQ(At(unskinned, 6, kSquareY + 6), kFlood) << "only skinned windows are repainted";

  EXPECT_EQ(RepaintTogglesProc(unskinned, 0), TRUE);
  EXPECT_EQ(RepaintTogglesProc(target, 0), TRUE);
  EXPECT_EQ(At(unskinned, 6, kSquareY + 6), kFlood);
}

}  // namespace
