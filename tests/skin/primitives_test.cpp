// Rounding of centring amounts, fills, frames, focus rectangles, memory DCs and text boxes.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "skin/primitives.h"
#include "skin_test_dc.h"

namespace {

using namespace skin;
using skintest::GdiCounts;
using skintest::TestDC;

constexpr COLORREF kGround = 0x00203040;

TEST(SkinRounding, HalvesRoundToNearestWithTiesToEven) {
  EXPECT_EQ(RoundToInt(2.5), 2);
  EXPECT_EQ(RoundToInt(3.5), 4);
  EXPECT_EQ(RoundToInt(-2.5), -2);
  EXPECT_EQ(RoundToInt(-3.5), -4);
  EXPECT_EQ(RoundToInt(2.4999), 2);
  EXPECT_EQ(RoundToInt(2.5001), 3);
  EXPECT_EQ(HalfOf(5), 2);  // a frame difference of 5 gives 2
  EXPECT_EQ(HalfOf(7), 4);  // and of 7 gives 4
  EXPECT_EQ(HalfOf(11), 6);
  EXPECT_EQ(HalfOf(15), 8);
  EXPECT_EQ(HalfOf(4), 2);
  EXPECT_EQ(HalfOf(-1), 0);
  EXPECT_EQ(RoundToInt(1e12), INT_MAX);
  EXPECT_EQ(RoundToInt(-1e12), INT_MIN);
}

TEST(SkinBoxes, BoxesBecomeRectanglesOrNothing) {
  RECT r{};
  ASSERT_TRUE(BoxToRect(2, 3, 75, 25, r));
  EXPECT_EQ(r.left, 2);
  EXPECT_EQ(r.top, 3);
  EXPECT_EQ(r.right, 77);
  EXPECT_EQ(r.bottom, 28);
  EXPECT_FALSE(BoxToRect(INT_MAX, 0, 1, 1, r));
  EXPECT_FALSE(BoxToRect(0, INT_MIN, 1, -1, r));
}

TEST(SkinBoxes, FillAndFrameCoverExactlyTheirBox) {
  TestDC dc(10, 8);
  dc.Fill(kGround);
  const GdiCounts before;
  EXPECT_NE(FillBox(dc.dc(), 2, 1, 5, 4, 0x000000FF), 0);
  EXPECT_NE(FrameBox(dc.dc(), 1, 2, 7, 5, 0x0000FF00), 0);
  EXPECT_EQ(GdiCounts{}, before) << "the solid brushes are deleted";
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 10; ++x) {
      const bool frame = x >= 1 && x <= 7 && y >= 2 && y <= 6 && (x == 1 || x == 7 || y == 2 || y == 6);
      const bool fill = x >= 2 && x <= 6 && y >= 1 && y <= 4;
      const COLORREF want = frame ? 0x0000FF00 : fill ? 0x000000FF : kGround;
      EXPECT_EQ(dc.At(x, y), want) << x << "," << y;
    }
  }
}

TEST(SkinBoxes, FocusBoxDrawnTwiceRemovesItself) {
  TestDC dc(12, 9);
  dc.Paint(skintest::Distinct);
  const auto original = dc.Pixels();
  DrawFocusBox(dc.dc(), 2, 2, 8, 5);
  const auto focused = dc.Pixels();
  EXPECT_NE(focused, original);
  // Only the outline of the box changes.
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 12; ++x) {
      const bool inside_outline = x > 2 && x < 9 && y > 2 && y < 6;
      const bool outside = x < 2 || x > 9 || y < 2 || y > 6;
      if (inside_outline || outside) {
        EXPECT_EQ(focused[y * 12 + x], original[y * 12 + x]) << x << "," << y;
      }
    }
  DrawFocusBox(dc.dc(), 2, 2, 8, 5);
  EXPECT_EQ(dc.Pixels(), original);
}

TEST(SkinMemoryDC, OwnsABitmapOfTheAskedSizeAndReleasesItWithTheDC) {
  const GdiCounts before;
  HDC dc = CreateMemoryDC(13, 52);
  ASSERT_NE(dc, nullptr);
  BITMAP info{};
  ASSERT_NE(GetObjectA(GetCurrentObject(dc, OBJ_BITMAP), sizeof info, &info), 0);
  EXPECT_EQ(info.bmWidth, 13);
  EXPECT_EQ(info.bmHeight, 52);
  EXPECT_EQ(SetPixel(dc, 12, 51, 0x00010203), 0x00010203u);
  EXPECT_EQ(GetPixel(dc, 12, 51), 0x00010203u);
  GdiCounts during;
  EXPECT_EQ(during.dcs, before.dcs + 1) << "the display DC is closed again";
  EXPECT_EQ(during.bitmaps, before.bitmaps + 1);
  DeleteDC(dc);
  EXPECT_EQ(GdiCounts{}, before);
}

TEST(SkinMemoryDC, ImpossibleSizesGiveNoDCAndLeakNothing) {
  const GdiCounts before;
  EXPECT_EQ(CreateMemoryDC(-4, 10), nullptr);
  EXPECT_EQ(GdiCounts{}, before);
}

// Rows of a DC that hold any pixel other than the ground.
std::pair<int, int> InkRows(const TestDC& dc, int* min_x, int* max_x) {
  int top = -1, bottom = -1;
  *min_x = INT_MAX;
  *max_x = -1;
  for (int y = 0; y < dc.height(); ++y)
    for (int x = 0; x < dc.width(); ++x)
      if (dc.At(x, y) != kGround) {
        if (top < 0) top = y;
        bottom = y;
        *min_x = std::min(*min_x, x);
        *max_x = std::max(*max_x, x);
      }
  return {top, bottom};
}

TEST(SkinText, CaptionWiderThanTheBoxStaysOnOneLineInsideIt) {
  const std::string caption = "一个很长很长的按钮标题 with a long tail of words";
  TestDC cut(120, 40), open(120, 40);
  for (TestDC* dc : {&cut, &open}) {
    dc->Fill(kGround);
    SetBkMode(dc->dc(), TRANSPARENT);
    SetTextColor(dc->dc(), 0x00000000);
  }
  // With DT_VCENTER the result is the bottom of the text below the box top: the same as for one
  // character only when the caption was kept to one line.
  const int line = DrawTextInBox(cut.dc(), caption, 20, 5, 60, 30, 0x8025);
  const int one_char = DrawTextInBox(open.dc(), "A", 20, 5, 60, 30, 0x8025);
  EXPECT_GT(line, 0);
  EXPECT_EQ(line, one_char);

  int min_x = 0, max_x = 0;
  const auto [top, bottom] = InkRows(cut, &min_x, &max_x);
  ASSERT_GE(top, 0) << "something was drawn";
  EXPECT_GE(min_x, 20);
  EXPECT_LE(max_x, 79) << "the ellipsis keeps the text inside the box";
  EXPECT_LE(bottom - top + 1, 30);

  // Without the ellipsis flag, the centred line overflows both sides of the same box.
  open.Fill(kGround);
  DrawTextInBox(open.dc(), caption, 20, 5, 60, 30, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
  InkRows(open, &min_x, &max_x);
  EXPECT_LT(min_x, 20);
  EXPECT_GT(max_x, 79);
}

}  // namespace
