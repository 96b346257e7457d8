// Borders the skin lays over controls that keep their own painting: combo boxes, drive lists, data
// lists, drop-down lists, grids and sunken-edge windows; and the editable combo box that the skin
// paints without its procedure.
#include <gtest/gtest.h>

#include "group_windows.h"
#include "skin/skin_install.h"
#include "skin/skin_props.h"

namespace {

using namespace skin;
using skintest::kFlood;

constexpr COLORREF kBorder = 0x00D5A554;
constexpr COLORREF kDisabledBorder = 0x00E9CFA4;
constexpr COLORREF kWhite = 0x00FFFFFF;

class FramePaint : public skintest::GroupWindowTest {
 protected:
  void SetUp() override {
    skintest::GroupWindowTest::SetUp();
    form_ = Form(50, 40, 500, 400);
  }
  // The two-line border: outer line in colour, inner line white, on all four sides.
  static void ExpectControlBorder(HWND h, COLORREF outer) {
    const SIZE s = WindowSize(h);
    for (auto [x, y] : {std::pair{0, 0},
                        {s.cx - 1, 0},
                        {0, s.cy - 1},
                        {s.cx - 1, s.cy - 1},
                        {s.cx / 3, 0},
                        {0, s.cy / 2},
                        {s.cx / 3, s.cy - 1}})
      EXPECT_EQ(At(h, x, y), outer) << "outer " << x << "," << y;
    for (auto [x, y] : {std::pair{1, 1}, {s.cx / 3, 1}, {1, s.cy / 2}, {s.cx / 3, s.cy - 2}})
      EXPECT_EQ(At(h, x, y), kWhite) << "inner " << x << "," << y;
  }
  HWND form_ = nullptr;
};

TEST_F(FramePaint, ListsAndCombosGetTheTwoLineBorderPaleWhenDisabled) {
  HWND combo = Control(form_, "ComboBox", CBS_DROPDOWNLIST, 10, 10, 121, 21);
  HWND drive = Control(form_, skintest::kDriveListClass, CBS_DROPDOWNLIST, 10, 50, 121, 21);
  HWND data = Control(form_, skintest::kDataListClass, 0, 150, 10, 100, 60);
  HWND dropped = Control(form_, "ComboLBox", WS_BORDER, 150, 100, 100, 60);
  ApplySkin(form_);
  Pump();
  for (HWND h : {combo, drive, data, dropped}) {
    char name[64] = {};
    GetClassNameA(h, name, sizeof name);
    SCOPED_TRACE(name);
    InvalidateRect(h, nullptr, TRUE);
    Pump();
    ExpectControlBorder(h, kBorder);
    EnableWindow(h, FALSE);
    InvalidateRect(h, nullptr, TRUE);
    Pump();
    ExpectControlBorder(h, kDisabledBorder);
  }
}

// With the list kinds the control paints its field first; the skin only covers the border and the
// button, so the field looks as it does on a combo box without the skin.
TEST_F(FramePaint, ListComboKeepsItsOwnFieldInsideTheBorder) {
  HWND skinned = Control(form_, "ComboBox", CBS_DROPDOWNLIST, 10, 10, 121, 21);
  HWND bare_form = Form(50, 300, 200, 60);
  HWND bare = Control(bare_form, "ComboBox", CBS_DROPDOWNLIST, 10, 10, 121, 21);
  for (HWND h : {skinned, bare}) {
    SendMessageA(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("7200"));
    SendMessageA(h, CB_SETCURSEL, 0, 0);
  }
  rec_.Subclass(skinned, "combo");
  ApplySkin(form_);
  rec_.Clear();
  InvalidateRect(skinned, nullptr, TRUE);
  Pump();
  EXPECT_GE(rec_.Count(skinned, WM_PAINT), 1);
  bool sawText = false;
  for (int y = 2; y < 19; ++y)
    for (int x = 2; x < 100; ++x) {
      ASSERT_EQ(At(skinned, x, y), At(bare, x, y)) << x << "," << y;
      sawText = sawText || At(bare, x, y) != At(bare, 3, 3);
    }
  EXPECT_TRUE(sawText) << "the field must show something for the comparison to mean anything";
}

TEST_F(FramePaint, EditableComboIsPaintedWithoutItsProcedure) {
  HWND combo = Control(form_, "ComboBox", CBS_DROPDOWN, 10, 10, 121, 21);
  rec_.Subclass(combo, "combo");
  ApplySkin(form_);
  SetIntProp(combo, kOldStateProp, 1);
  rec_.Clear();
  Flood(combo, kFlood);
  InvalidateRect(combo, nullptr, TRUE);
  Pump();
  EXPECT_EQ(rec_.Count(combo, WM_PAINT), 0);
  // One coloured line, white inside it, and the button forced in the state last painted.
  EXPECT_EQ(At(combo, 0, 0), kBorder);
  EXPECT_EQ(At(combo, 120, 10), kBorder);
  EXPECT_EQ(At(combo, 1, 1), kWhite);
  EXPECT_EQ(At(combo, 101, 10), kWhite);
  EXPECT_EQ(At(combo, 102, 1), GetPixel(ComboSkinDC, 0, 0)) << "hover face";
  EXPECT_EQ(GetIntProp(combo, kOldStateProp), 1);

  EnableWindow(combo, FALSE);
  InvalidateRect(combo, nullptr, TRUE);
  Pump();
  EXPECT_EQ(At(combo, 0, 0), kDisabledBorder);
}

TEST_F(FramePaint, GridGetsOneLineOnlyWithABorderStyle) {
  HWND plain = Control(form_, skintest::kGridClass, 0, 10, 10, 100, 60);
  HWND bordered = Control(form_, skintest::kGridClass, WS_BORDER, 150, 10, 100, 60);
  rec_.Subclass(plain, "plain");
  ApplySkin(form_);
  rec_.Clear();
  Flood(plain, kFlood);
  InvalidateRect(plain, nullptr, TRUE);
  InvalidateRect(bordered, nullptr, TRUE);
  Pump();
  EXPECT_GE(rec_.Count(plain, WM_PAINT), 1);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(At(plain, 0, 0), face) << "passed on and nothing more";
  EXPECT_EQ(At(plain, 50, 59), face);
  EXPECT_EQ(At(bordered, 0, 0), kBorder);
  EXPECT_EQ(At(bordered, 99, 30), kBorder);
  EXPECT_EQ(At(bordered, 50, 59), kBorder);
  EXPECT_EQ(At(bordered, 1, 1), face) << "no inner line";
  EnableWindow(bordered, FALSE);
  InvalidateRect(bordered, nullptr, TRUE);
  Pump();
  EXPECT_EQ(At(bordered, 0, 0), kDisabledBorder);
}

TEST_F(FramePaint, SunkenEdgeTwoPixelsThickGetsALineAndTwoBackgroundFrames) {
  HWND sunken = Control(form_, "Static", 0, 10, 100, 80, 50, "", WS_EX_CLIENTEDGE);
  ApplySkin(form_);
  Pump();
  const SIZE w = WindowSize(sunken);
  const SIZE c = ClientSize(sunken);
  ASSERT_EQ(w.cx - c.cx, 4) << "a 2-pixel edge on each side";
  ASSERT_EQ(w.cy - c.cy, 4);
  HDC client = GetDC(sunken);
  const COLORREF background = GetBkColor(client);
  ReleaseDC(sunken, client);
  ASSERT_NE(background, kBorder);
  ASSERT_NE(background, kFlood);

  Flood(sunken, kFlood);
  SendMessageA(sunken, WM_NCPAINT, 1, 0);
  EXPECT_EQ(At(sunken, 0, 25), kBorder);
  EXPECT_EQ(At(sunken, 40, 0), kBorder);
  EXPECT_EQ(At(sunken, 79, 25), kBorder);
  EXPECT_EQ(At(sunken, 40, 49), kBorder);
  // Frame d starts at (d, d): the second one reaches into the client's first column and row.
  for (int d : {1, 2}) {
    EXPECT_EQ(At(sunken, d, 25), background) << "left frame " << d;
    EXPECT_EQ(At(sunken, 40, d), background) << "top frame " << d;
  }
  // Both end on column W - 2 and row H - 2, so the client's last column and row keep their
  // picture.
  EXPECT_EQ(At(sunken, 78, 25), background);
  EXPECT_EQ(At(sunken, 40, 48), background);
  EXPECT_EQ(At(sunken, 77, 25), kFlood);
  EXPECT_EQ(At(sunken, 40, 47), kFlood);
  EXPECT_EQ(At(sunken, 40, 25), kFlood) << "the client is left alone";
}

}  // namespace
