// Nine-slice copies: which source pixels land where, the plain stretch, the key colour, and the
// cases that must draw nothing.
#include <gtest/gtest.h>

#include <climits>

#include "skin/skin_blit.h"
#include "skin/skin_types.h"
#include "skin_test_dc.h"

namespace {

using skin::DrawSkinFrame;
using skintest::Distinct;
using skintest::GdiCounts;
using skintest::TestDC;

constexpr COLORREF kSentinel = 0x00123456;

class DrawSkinFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    src.Paint(Distinct);
    dest.Fill(kSentinel);
  }
  TestDC src{7, 21};
  TestDC dest{81, 31};
};

// The destination rectangle starts at (2, 3) so that misplaced pieces show up too.
TEST_F(DrawSkinFrameTest, MarginsOfThreeKeepCornersAndStretchEdgesAndCentre) {
  const GdiCounts before;
  EXPECT_NE(DrawSkinFrame(dest.dc(), 2, 3, 75, 25, src.dc(), 0, 0, 7, 21, 3, 3, 3, 3), 0);
  EXPECT_EQ(GdiCounts{}, before) << "the temporary memory DC must be released";

  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 3; ++x) {
      EXPECT_EQ(dest.At(2 + x, 3 + y), src.At(x, y)) << "top-left " << x << "," << y;
      EXPECT_EQ(dest.At(2 + 72 + x, 3 + y), src.At(4 + x, y)) << "top-right " << x << "," << y;
      EXPECT_EQ(dest.At(2 + x, 3 + 22 + y), src.At(x, 18 + y)) << "bottom-left " << x << "," << y;
      EXPECT_EQ(dest.At(2 + 72 + x, 3 + 22 + y), src.At(4 + x, 18 + y)) << "bottom-right " << x << "," << y;
    }
  }
  // Top and bottom edges: the one-pixel-wide strips at x = 3 repeated 69 times.
  for (int x = 3; x < 72; ++x) {
    for (int y = 0; y < 3; ++y) {
      EXPECT_EQ(dest.At(2 + x, 3 + y), src.At(3, y)) << "top edge " << x << "," << y;
      EXPECT_EQ(dest.At(2 + x, 3 + 22 + y), src.At(3, 18 + y)) << "bottom edge " << x << "," << y;
    }
  }
  // Centre and side edges: 15 source rows spread over 19, in order, first and last kept.
  for (int y = 3; y < 22; ++y) {
    const COLORREF centre = dest.At(2 + 3, 3 + y);
    int row = -1;
    for (int sy = 3; sy < 18; ++sy)
      if (src.At(3, sy) == centre) row = sy;
    ASSERT_GE(row, 3) << "centre row " << y << " is not from the source block";
    if (y == 3) {
      EXPECT_EQ(row, 3);
    }
    if (y == 21) {
      EXPECT_EQ(row, 17);
    }
    if (y > 3) {
      EXPECT_GE(centre, dest.At(2 + 3, 3 + y - 1)) << "rows keep their order";
    }
    for (int x = 3; x < 72; ++x) ASSERT_EQ(dest.At(2 + x, 3 + y), centre) << "centre " << x << "," << y;
    for (int x = 0; x < 3; ++x) {
      EXPECT_EQ(dest.At(2 + x, 3 + y), src.At(x, row)) << "left edge " << x << "," << y;
      EXPECT_EQ(dest.At(2 + 72 + x, 3 + y), src.At(4 + x, row)) << "right edge " << x << "," << y;
    }
  }
  // Nothing outside the destination rectangle.
  for (int y = 0; y < 31; ++y)
    for (int x = 0; x < 81; ++x)
      if (x < 2 || x >= 77 || y < 3 || y >= 28) {
        ASSERT_EQ(dest.At(x, y), kSentinel) << x << "," << y;
      }
}

TEST_F(DrawSkinFrameTest, MarginsOfZeroStretchTheWholeSource) {
  // Twice the size: every source pixel becomes a 2 x 2 block, whatever the nearest-pixel rule.
  EXPECT_NE(DrawSkinFrame(dest.dc(), 0, 0, 14, 30, src.dc(), 0, 0, 7, 15, 0, 0, 0, 0), 0);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 14; ++x) ASSERT_EQ(dest.At(x, y), src.At(x / 2, y / 2)) << x << "," << y;
  EXPECT_EQ(dest.At(14, 0), kSentinel);
}

TEST_F(DrawSkinFrameTest, KeyColourLeavesTheDestinationAlone) {
  // A magenta diagonal and border in the source; 1:1, so the assembled picture is the source.
  auto keyed = [](int x, int y) -> COLORREF {
    return (x == y % 7 || y == 0) ? skin::kKeyColour : Distinct(x, y);
  };
  src.Paint(keyed);
  EXPECT_EQ(DrawSkinFrame(dest.dc(), 4, 5, 7, 21, src.dc(), 0, 0, 7, 21, 3, 3, 3, 3, skin::kKeyColour), 1);
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 7; ++x) {
      const COLORREF want = keyed(x, y) == skin::kKeyColour ? kSentinel : keyed(x, y);
      ASSERT_EQ(dest.At(4 + x, 5 + y), want) << x << "," << y;
    }
}

TEST_F(DrawSkinFrameTest, DegenerateRequestsDrawNothing) {
  const GdiCounts before;
  const auto untouched = dest.Pixels();
  EXPECT_EQ(DrawSkinFrame(dest.dc(), 0, 0, 0, 25, src.dc(), 0, 0, 7, 21, 3, 3, 3, 3), 0);
  EXPECT_EQ(DrawSkinFrame(dest.dc(), 0, 0, 75, 0, src.dc(), 0, 0, 7, 21, 3, 3, 3, 3), 0);
  EXPECT_EQ(DrawSkinFrame(dest.dc(), 0, 0, 75, 25, src.dc(), 0, 0, 0, 21, 3, 3, 3, 3), 0);
  EXPECT_EQ(DrawSkinFrame(dest.dc(), 0, 0, 75, 25, src.dc(), 0, 0, 7, 0, 3, 3, 3, 3), 0);
  // A negative size cannot make a picture; nothing undefined may reach dest, keyed or not.
  EXPECT_EQ(DrawSkinFrame(dest.dc(), 0, 0, -5, 25, src.dc(), 0, 0, 7, 21, 3, 3, 3, 3), 0);
  EXPECT_EQ(DrawSkinFrame(dest.dc(), 0, 0, -5, 25, src.dc(), 0, 0, 7, 21, 3, 3, 3, 3, skin::kKeyColour), 0);
  // Source coordinates whose sums leave the 32-bit range.
  EXPECT_EQ(DrawSkinFrame(dest.dc(), 0, 0, 75, 25, src.dc(), INT_MAX - 1, 0, 7, 21, 3, 3, 3, 3), 0);
  EXPECT_EQ(DrawSkinFrame(dest.dc(), 0, 0, 75, 25, src.dc(), 0, INT_MIN, 7, -21, 3, 3, 3, 3), 0);
  EXPECT_EQ(dest.Pixels(), untouched);
  EXPECT_EQ(GdiCounts{}, before);
}

}  // namespace
