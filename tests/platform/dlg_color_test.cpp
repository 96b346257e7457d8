// ChooseColorA and its HLS arithmetic: typing into the fields, swatches,
// the custom part, preselection, custom colours, cancelling.
#include <cstdlib>

#include "dlg_fixture.h"
#include "platform/dialogs/color_math.h"
#include "platform/dialogs/swatch_grid.h"

namespace {

using hwf::test::DialogTest;
using platform::dialogs::HlsToRgb;
using platform::dialogs::kBasicColors;
using platform::dialogs::RgbToHls;
namespace pt = platform::testing;
namespace dlg = platform::dialogs;

// --- The arithmetic. Known points of the model: the primaries sit at
// thirds of the hue circle with full saturation and half luminance; greys
// have no saturation and the undefined hue 160.

TEST(ColorMath, KnownColoursHaveTheirClassicHls) {
  struct {
    COLORREF rgb;
    dlg::Hls hls;
  } const cases[] = {
      {RGB(255, 0, 0), {0, 120, 240}},     {RGB(255, 255, 0), {40, 120, 240}},
      {RGB(0, 255, 0), {80, 120, 240}},    {RGB(0, 255, 255), {120, 120, 240}},
      {RGB(0, 0, 255), {160, 120, 240}},   {RGB(255, 0, 255), {200, 120, 240}},
      {RGB(0, 0, 0), {160, 0, 0}},         {RGB(255, 255, 255), {160, 240, 0}},
      {RGB(128, 128, 128), {160, 120, 0}}, {RGB(128, 0, 0), {0, 60, 240}},
  };
  for (const auto& c : cases) {
    dlg::Hls got = RgbToHls(c.rgb);
    EXPECT_EQ(got, c.hls) << std::hex << c.rgb << std::dec << ": " << got.h << "/" << got.l << "/" << got.s;
    if (c.hls.s != 0 || c.rgb == RGB(0, 0, 0) || c.rgb == RGB(255, 255, 255)) {
      EXPECT_EQ(HlsToRgb(c.hls.h, c.hls.l, c.hls.s), c.rgb) << std::hex << c.rgb;
    }
  }
}

TEST(ColorMath, LuminanceEndsAreBlackAndWhiteWhateverTheHue) {
  for (int h = 0; h <= 240; h += 30)
    for (int s = 0; s <= 240; s += 60) {
      EXPECT_EQ(HlsToRgb(h, 0, s), RGB(0, 0, 0));
      EXPECT_EQ(HlsToRgb(h, 240, s), RGB(255, 255, 255));
    }
  EXPECT_EQ(HlsToRgb(999, 120, -5), HlsToRgb(240, 120, 0)) << "out-of-range values are clamped";
}

TEST(ColorMath, EveryBasicColourSurvivesARoundTripWithinTheScaleStep) {
  // One HLS step is 255/240 of an RGB step; rounding at each stage costs at
  // most two RGB steps.
  for (COLORREF c : kBasicColors) {
    dlg::Hls h = RgbToHls(c);
    COLORREF back = HlsToRgb(h.h, h.l, h.s);
    EXPECT_LE(std::abs(GetRValue(back) - GetRValue(c)), 2) << std::hex << c;
    EXPECT_LE(std::abs(GetGValue(back) - GetGValue(c)), 2) << std::hex << c;
    EXPECT_LE(std::abs(GetBValue(back) - GetBValue(c)), 2) << std::hex << c;
  }
}

// --- The dialog.

class ColorDialogTest : public DialogTest {
 protected:
  CHOOSECOLORA Make(DWORD flags, COLORREF initial = RGB(1, 2, 3)) {
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = owner_;
    cc.rgbResult = initial;
    cc.lpCustColors = custom_;
    cc.Flags = flags;
    return cc;
  }
  static HWND Item(int id) { return GetDlgItem(Active(), id); }
  static int Sel(int grid) { return static_cast<int>(SendMessageA(Item(grid), dlg::SGM_GETSEL, 0, 0)); }
  static void ClickCell(int grid, int index) {
    RECT cell;
    SendMessageA(Item(grid), dlg::SGM_GETCELLRECT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&cell));
    ClickOn(Item(grid), (cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
  }
  // Clicks a point of the dialog's own face (client coordinates).
  static void ClickDialog(int x, int y) {
    POINT p{x, y};
    ClientToScreen(Active(), &p);
    pt::Click(p.x, p.y);
  }

  COLORREF custom_[16] = {};
};

TEST_F(ColorDialogTest, ColourTypedIntoRedGreenAndBlueIsConfirmed) {
  std::string hue, sat, lum;
  CHOOSECOLORA cc = Make(CC_FULLOPEN);
  Script({[] { TypeInto(Item(COLOR_RED), "255"); }, [] { TypeInto(Item(COLOR_GREEN), "0"); },
          [] { TypeInto(Item(COLOR_BLUE), "0"); },
          [&] {
            hue = Text(Item(COLOR_HUE));
            sat = Text(Item(COLOR_SAT));
            lum = Text(Item(COLOR_LUM));
            TypeInto(Item(COLOR_GREEN), "128");
          },
          [] { TypeInto(Item(COLOR_BLUE), "64"); }, [] { Key(VK_RETURN); }});
  ASSERT_TRUE(ChooseColorA(&cc));
  EXPECT_EQ(cc.rgbResult, RGB(255, 128, 64));
  EXPECT_EQ(hue + "/" + sat + "/" + lum, "0/240/120") << "pure red in HLS";
  EXPECT_EQ(CommDlgExtendedError(), 0u);
}

TEST_F(ColorDialogTest, HlsFieldsDriveTheRgbFieldsAndLargeNumbersAreCapped) {
  std::string r, g, b, capped;
  CHOOSECOLORA cc = Make(CC_FULLOPEN);
  Script({[] { TypeInto(Item(COLOR_LUM), "120"); }, [] { TypeInto(Item(COLOR_SAT), "240"); },
          [] { TypeInto(Item(COLOR_HUE), "80"); },
          [&] {
            r = Text(Item(COLOR_RED));
            g = Text(Item(COLOR_GREEN));
            b = Text(Item(COLOR_BLUE));
            TypeInto(Item(COLOR_BLUE), "999");
          },
          [&] {
            capped = Text(Item(COLOR_BLUE));
            Key(VK_RETURN);
          }});
  ASSERT_TRUE(ChooseColorA(&cc));
  EXPECT_EQ(r + "," + g + "," + b, "0,255,0");
  EXPECT_EQ(capped, "255");
  EXPECT_EQ(cc.rgbResult, RGB(0, 255, 255));
}

TEST_F(ColorDialogTest, CancelEscapeAndCloseLeaveTheResultAndCustomColoursAlone) {
  const COLORREF before = RGB(0x12, 0x34, 0x56);
  for (int how = 0; how < 3; ++how) {
    for (auto& c : custom_) c = RGB(9, 9, 9);
    CHOOSECOLORA cc = Make(CC_FULLOPEN | CC_RGBINIT, before);
    Script({[] { ClickCell(COLOR_BOX1, 8); }, [] { ClickOn(Item(COLOR_ADD)); },
            [how] {
              if (how == 0) ClickOn(Item(IDCANCEL));
              if (how == 1) Key(VK_ESCAPE);
              if (how == 2) pt::RequestClose(Active());
            }});
    EXPECT_FALSE(ChooseColorA(&cc)) << how;
    EXPECT_EQ(cc.rgbResult, before) << how;
    EXPECT_EQ(custom_[0], RGB(9, 9, 9)) << how;
    EXPECT_EQ(StepsRun(), 3u);
  }
}

TEST_F(ColorDialogTest, RgbInitPreselectsTheColourOtherwiseTheDialogStartsOnBlack) {
  int selWith = -2, selWithout = -2;
  std::string redWith;
  CHOOSECOLORA with = Make(CC_RGBINIT | CC_FULLOPEN, RGB(255, 0, 0));
  Script({[&] {
    selWith = Sel(COLOR_BOX1);
    redWith = Text(Item(COLOR_RED));
    Key(VK_RETURN);
  }});
  ASSERT_TRUE(ChooseColorA(&with));
  EXPECT_EQ(with.rgbResult, RGB(255, 0, 0));
  EXPECT_EQ(selWith, 8) << "red is the first swatch of the second row";
  EXPECT_EQ(redWith, "255");

  CHOOSECOLORA without = Make(0, RGB(255, 0, 0));
  Script({[&] {
    selWithout = Sel(COLOR_BOX1);
    Key(VK_RETURN);
  }});
  ASSERT_TRUE(ChooseColorA(&without));
  EXPECT_EQ(without.rgbResult, RGB(0, 0, 0));
  EXPECT_EQ(selWithout, 40) << "black opens the last row";
}

TEST_F(ColorDialogTest, AddingCustomColoursFillsTheSlotsInTurnAndOkWritesThemBack) {
  for (auto& c : custom_) c = RGB(200, 200, 200);
  custom_[5] = RGB(1, 1, 1);
  CHOOSECOLORA cc = Make(CC_FULLOPEN);
  Script({[] { ClickCell(COLOR_BOX1, 0); }, [] { ClickOn(Item(COLOR_ADD)); },
          [] { TypeInto(Item(COLOR_RED), "10"); }, [] { ClickOn(Item(COLOR_ADD)); },
          [] { ClickCell(COLOR_CUSTOM1, 5); }, [] { ClickOn(Item(IDOK)); }});
  ASSERT_TRUE(ChooseColorA(&cc));
  EXPECT_EQ(custom_[0], kBasicColors[0]);
  EXPECT_EQ(custom_[1], RGB(10, GetGValue(kBasicColors[0]), GetBValue(kBasicColors[0])));
  EXPECT_EQ(custom_[2], RGB(200, 200, 200));
  EXPECT_EQ(cc.rgbResult, RGB(1, 1, 1)) << "a custom swatch picks its colour";

  // Sixteen more additions wrap round to the first slot.
  for (auto& c : custom_) c = 0;
  std::vector<std::function<void()>> steps{[] { TypeInto(Item(COLOR_RED), "1"); }};
  for (int i = 0; i < 17; ++i) {
    steps.push_back([i] { TypeInto(Item(COLOR_GREEN), std::to_string(i + 1)); });
    steps.push_back([] { ClickOn(Item(COLOR_ADD)); });
  }
  steps.push_back([] { ClickOn(Item(IDOK)); });  // Return would press the focused add button
  Script(steps);
  cc = Make(CC_FULLOPEN);
  ASSERT_TRUE(ChooseColorA(&cc));
  EXPECT_EQ(custom_[0], RGB(1, 17, 0));
  EXPECT_EQ(custom_[1], RGB(1, 2, 0));
  EXPECT_EQ(custom_[15], RGB(1, 16, 0));
}

TEST_F(ColorDialogTest, TheCustomPartOpensByItsButtonUnlessPrevented) {
  int narrow = 0, wide = 0, prevented = 0;
  bool redVisibleBefore = true, redVisibleAfter = false, mixEnabledPrevented = true;
  CHOOSECOLORA cc = Make(0);
  Script({[&] {
            RECT r;
            GetWindowRect(Active(), &r);
            narrow = r.right - r.left;
            redVisibleBefore = IsWindowVisible(Item(COLOR_RED));
            ClickOn(Item(COLOR_MIX));
          },
          [&] {
            RECT r;
            GetWindowRect(Active(), &r);
            wide = r.right - r.left;
            redVisibleAfter = IsWindowVisible(Item(COLOR_RED));
            Key(VK_ESCAPE);
          }});
  EXPECT_FALSE(ChooseColorA(&cc));
  EXPECT_FALSE(redVisibleBefore);
  EXPECT_TRUE(redVisibleAfter);
  EXPECT_GT(wide, narrow + 150);

  cc = Make(CC_PREVENTFULLOPEN);
  Script({[&] {
            mixEnabledPrevented = IsWindowEnabled(Item(COLOR_MIX));
            ClickOn(Item(COLOR_MIX));
          },
          [&] {
            RECT r;
            GetWindowRect(Active(), &r);
            prevented = r.right - r.left;
            Key(VK_ESCAPE);
          }});
  EXPECT_FALSE(ChooseColorA(&cc));
  EXPECT_FALSE(mixEnabledPrevented);
  EXPECT_EQ(prevented, narrow);
}

TEST_F(ColorDialogTest, TheFieldSetsHueAndSaturationAndTheBarSetsLuminance) {
  std::string afterField, afterBar;
  CHOOSECOLORA cc = Make(CC_FULLOPEN | CC_RGBINIT, RGB(128, 128, 128));
  Script({[] { ClickDialog(230, 10); },  // the field's top-left corner: hue 0, full saturation
          [&] {
            afterField = Text(Item(COLOR_RED)) + "," + Text(Item(COLOR_GREEN)) + "," + Text(Item(COLOR_BLUE));
            ClickDialog(432, 10);  // the top of the luminance bar
          },
          [&] {
            afterBar = Text(Item(COLOR_LUM));
            Key(VK_RETURN);
          }});
  ASSERT_TRUE(ChooseColorA(&cc));
  EXPECT_EQ(afterField, "255,0,0") << "grey's luminance 120 kept, hue 0 at full saturation is red";
  EXPECT_EQ(afterBar, "240");
  EXPECT_EQ(cc.rgbResult, RGB(255, 255, 255));
}

TEST_F(ColorDialogTest, OpensOnTheBasicGridWithArrowsMovingTheSelection) {
  HWND focus = nullptr, grid = nullptr;
  CHOOSECOLORA cc = Make(CC_RGBINIT, kBasicColors[9]);
  Script({[&] {
            focus = GetFocus();
            grid = Item(COLOR_BOX1);
            Key(VK_RIGHT);
          },
          [] { Key(VK_DOWN); }, [] { Key(VK_RETURN); }});
  ASSERT_TRUE(ChooseColorA(&cc));
  EXPECT_EQ(focus, grid);
  EXPECT_EQ(cc.rgbResult, kBasicColors[18]);
}

TEST_F(ColorDialogTest, ThePreviewShowsTheTypedColour) {
  int matching = 0;
  CHOOSECOLORA cc = Make(CC_FULLOPEN);
  Script({[] { TypeInto(Item(COLOR_BLUE), "200"); },
          [&] {
            RECT r;
            GetWindowRect(Active(), &r);
            for (int y = 190; y < 220; ++y)
              for (int x = 236; x < 282; ++x)
                if (pt::ScreenPixel(r.left + x, r.top + y) == RGB(0, 0, 200)) ++matching;
            Key(VK_ESCAPE);
          }});
  EXPECT_FALSE(ChooseColorA(&cc));
  EXPECT_EQ(matching, 30 * 46);
}

TEST_F(ColorDialogTest, AWrongStructureSizeFails) {
  CHOOSECOLORA cc = Make(0);
  cc.lStructSize = 12;
  EXPECT_FALSE(ChooseColorA(&cc));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_STRUCTSIZE));
  EXPECT_FALSE(ChooseColorA(nullptr));
}

}  // namespace
