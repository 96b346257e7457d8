// The drop-down button of combo boxes: where it sits, what each state shows, the dropped-down
// override, the skip rule and the simple kind that has no button.
#include <gtest/gtest.h>

#include <vector>

#include "group_windows.h"
#include "skin/painters.h"
#include "skin/skin_blit.h"
#include "skin/skin_install.h"
#include "skin/skin_props.h"
#include "skin/skin_state.h"
#include "skin_test_dc.h"

namespace {

using namespace skin;
using skintest::kFlood;

// A 121 x 21 combo box with 17-pixel scroll bars: the button is 18 x 19 at (102, 1) and the arrow
// sits at (6, 8) inside it (half of 11 and half of 15, ties to even).
constexpr int kW = 121, kH = 21;
constexpr int kButtonX = 102, kButtonY = 1, kButtonW = 18, kButtonH = 19;
constexpr int kArrowX = 6, kArrowY = 8;

class ComboPainter : public skintest::GroupWindowTest {
 protected:
  void SetUp() override {
    skintest::GroupWindowTest::SetUp();
    ASSERT_EQ(GetSystemMetrics(SM_CXVSCROLL), 17);
    form_ = Form(50, 40, 400, 300);
    combo_ = Control(form_, "ComboBox", CBS_DROPDOWNLIST, 20, 20, kW, kH);
    ASSERT_EQ(WindowSize(combo_).cx, kW);
    ASSERT_EQ(WindowSize(combo_).cy, kH);
    for (const char* item : {"8", "80", "800"})
      SendMessageA(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    ApplySkin(form_);
    Pump();
  }

  // The button as composed by the rules: the face of the state, then the enabled or disabled arrow
  // wherever the arrow's picture is not the key colour.
  static std::vector<COLORREF> ExpectedButton(int state, bool enabled) {
    skintest::TestDC face(kButtonW, kButtonH);
    if (state == 0)
      face.Fill(0x00FFFFFF);
    else
      DrawSkinFrame(face.dc(), 0, 0, kButtonW, kButtonH, ComboSkinDC, state == 1 ? 0 : 4, 0, 4, 18, 2, 1, 1,
                    1);
    const int arrowRow = enabled ? 0 : 4;
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 7; ++x) {
        const COLORREF c = GetPixel(ComboSkinDC, 8 + x, arrowRow + y);
        if (!IsKey(c)) SetPixel(face.dc(), kArrowX + x, kArrowY + y, c);
      }
    return face.Pixels();
  }
  std::vector<COLORREF> ButtonOnScreen(HWND h) const {
    std::vector<COLORREF> shown;
    for (int y = 0; y < kButtonH; ++y)
      for (int x = 0; x < kButtonW; ++x) shown.push_back(At(h, kButtonX + x, kButtonY + y));
    return shown;
  }
  // Everything round the button keeps the flood colour.
  void ExpectOnlyButtonPainted(HWND h) const {
    for (int y = 0; y < kH; ++y) {
      EXPECT_EQ(At(h, kButtonX - 1, y), kFlood) << "left of the button, row " << y;
      EXPECT_EQ(At(h, kW - 1, y), kFlood) << "right edge, row " << y;
    }
    for (int x = 0; x < kW; ++x) {
      EXPECT_EQ(At(h, x, 0), kFlood) << "top edge, column " << x;
      EXPECT_EQ(At(h, x, kH - 1), kFlood) << "bottom edge, column " << x;
    }
  }

  HWND form_ = nullptr;
  HWND combo_ = nullptr;
};

TEST_F(ComboPainter, EachStateShowsItsFaceWithTheArrowAtTheRightEnd) {
  // The faces must differ, or this test could not tell them apart.
  ASSERT_NE(ExpectedButton(0, true), ExpectedButton(1, true));
  ASSERT_NE(ExpectedButton(1, true), ExpectedButton(2, true));
  for (int state : {0, 1, 2}) {
    SCOPED_TRACE("state " + std::to_string(state));
    Flood(combo_, kFlood);
    std::int32_t requested = state;
    PaintComboButton(combo_, nullptr, requested, VbTrue);
    EXPECT_EQ(requested, state);
    EXPECT_EQ(GetIntProp(combo_, kOldStateProp), state);
    EXPECT_EQ(ButtonOnScreen(combo_), ExpectedButton(state, true));
    ExpectOnlyButtonPainted(combo_);
  }
}

TEST_F(ComboPainter, DisabledComboShowsThePaleArrow) {
  EnableWindow(combo_, FALSE);
  Pump();
  Flood(combo_, kFlood);
  std::int32_t state = 0;
  PaintComboButton(combo_, nullptr, state, VbTrue);
  ASSERT_NE(ExpectedButton(0, false), ExpectedButton(0, true));
  EXPECT_EQ(ButtonOnScreen(combo_), ExpectedButton(0, false));
}

TEST_F(ComboPainter, OpenListPaintsPressedAndReportsItBack) {
  SendMessageA(combo_, CB_SHOWDROPDOWN, TRUE, 0);
  ASSERT_NE(SendMessageA(combo_, CB_GETDROPPEDSTATE, 0, 0), 0);
  SetIntProp(combo_, kOldStateProp, 1);
  Flood(combo_, kFlood);
  std::int32_t state = 1;
  PaintComboButton(combo_, nullptr, state, VbFalse);
  EXPECT_EQ(state, 2);
  EXPECT_EQ(GetIntProp(combo_, kOldStateProp), 2);
  EXPECT_EQ(ButtonOnScreen(combo_), ExpectedButton(2, true));

  // Already pressed and still open: nothing to do unless forced.
  Flood(combo_, kFlood);
  state = 0;
  PaintComboButton(combo_, nullptr, state, VbFalse);
  EXPECT_EQ(state, 2);
  EXPECT_EQ(At(combo_, kButtonX + 1, kButtonY + 1), kFlood);
  PaintComboButton(combo_, nullptr, state, VbTrue);
  EXPECT_EQ(ButtonOnScreen(combo_), ExpectedButton(2, true)) << "forced";
  SendMessageA(combo_, CB_SHOWDROPDOWN, FALSE, 0);
}

TEST_F(ComboPainter, SimpleComboHasNoButtonAndKeepsItsState) {
  HWND simple = Control(form_, "ComboBox", CBS_SIMPLE, 20, 60, kW, 80);
  SkinWindow(simple);
  Pump();
  ASSERT_EQ(GetIntProp(simple, kOldStateProp), 0);
  Flood(simple, kFlood);
  std::int32_t state = 1;
  PaintComboButton(simple, nullptr, state, VbTrue);
  EXPECT_EQ(GetIntProp(simple, kOldStateProp), 0);
  const SIZE size = WindowSize(simple);
  for (int y = 0; y < size.cy; y += 3)
    for (int x = 0; x < size.cx; x += 3) ASSERT_EQ(At(simple, x, y), kFlood) << x << "," << y;
}

TEST_F(ComboPainter, GivenDCIsDrawnIntoAndKeptWhileTheWindowIsLeftAlone) {
  Flood(combo_, kFlood);
  skintest::TestDC target(kW, kH);
  target.Fill(kFlood);
  const skintest::LiveObjects before;
  std::int32_t state = 2;
  PaintComboButton(combo_, target.dc(), state, VbTrue);
  EXPECT_EQ(skintest::LiveObjects(), before) << "the caller's DC stays, and the painter's own is gone";
  std::vector<COLORREF> drawn;
  for (int y = 0; y < kButtonH; ++y)
    for (int x = 0; x < kButtonW; ++x) drawn.push_back(target.At(kButtonX + x, kButtonY + y));
  EXPECT_EQ(drawn, ExpectedButton(2, true));
  EXPECT_EQ(At(combo_, kButtonX + 9, kButtonY + 9), kFlood);
}

}  // namespace
