// The shape of the pixel table and the key-colour areas of the five bitmaps.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "skin/skin_pixel_table.h"
#include "skin_table_view.h"

namespace {

using skintest::kKey;
using skintest::TableView;

const TableView& View() {
  static const TableView view;
  return view;
}

TEST(SkinPixelTable, CoversEveryPixelOnceInBitmapThenRowMajorOrder) {
  const int expected_counts[5] = {588, 270, 432, 676, 180};
  ASSERT_EQ(skin::kSkinPixelCount, 2146);
  ASSERT_EQ(static_cast<int>(std::size(skin::SkinPixelTable)), 2146);
  int i = 0;
  for (int b = 0; b < 5; ++b) {
    const auto [w, h] = TableView::Size(b);
    EXPECT_EQ(w * h, expected_counts[b]);
    EXPECT_EQ(skin::kSkinBitmapSizes[b].width, w);
    EXPECT_EQ(skin::kSkinBitmapSizes[b].height, h);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x, ++i) {
        const skin::SkinPixel& p = skin::SkinPixelTable[i];
        ASSERT_EQ(p.bitmap, b) << "entry " << i;
        ASSERT_EQ(p.x, x) << "entry " << i;
        ASSERT_EQ(p.y, y) << "entry " << i;
        EXPECT_EQ(p.colour >> 24, 0u) << "entry " << i << " has bits above blue";
      }
    }
  }
  EXPECT_EQ(i, 2146);
}

TEST(SkinPixelTable, UsesTheStatedNumberOfDistinctColours) {
  std::set<std::uint32_t> all, per_bitmap[5];
  for (const skin::SkinPixel& p : skin::SkinPixelTable) {
    all.insert(p.colour);
    per_bitmap[p.bitmap].insert(p.colour);
  }
  EXPECT_EQ(all.size(), 567u);
  // Button, combo, mark, box and header; magenta counts in each bitmap that holds it.
  const std::size_t expected[5] = {222, 40, 46, 158, 106};
  for (int b = 0; b < 5; ++b) EXPECT_EQ(per_bitmap[b].size(), expected[b]) << "bitmap " << b;
  EXPECT_FALSE(per_bitmap[skin::ButtonSkinBitmap].count(kKey));
  EXPECT_TRUE(per_bitmap[skin::BoxSkinBitmap].count(kKey));
}

TEST(SkinPixelTable, BitmapIdsFollowTheEngineOrder) {
  EXPECT_EQ(skin::ButtonSkinBitmap, 0);
  EXPECT_EQ(skin::ComboSkinBitmap, 1);
  EXPECT_EQ(skin::MarkSkinBitmap, 2);
  EXPECT_EQ(skin::BoxSkinBitmap, 3);
  EXPECT_EQ(skin::HeaderSkinBitmap, 4);
}

// Bitmaps copied without a key must not hold one, or the copy would show magenta.
TEST(SkinPixelTable, PlainCopiedPicturesHoldNoKeyColour) {
  const auto& v = View();
  for (int y = 0; y < 84; ++y)
    for (int x = 0; x < 7; ++x) EXPECT_NE(v.At(skin::ButtonSkinBitmap, x, y), kKey) << x << "," << y;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 9; ++x) EXPECT_NE(v.At(skin::HeaderSkinBitmap, x, y), kKey) << x << "," << y;
  for (int y = 0; y < 18; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_NE(v.At(skin::ComboSkinBitmap, x, y), kKey) << x << "," << y;
  // The check-square interiors are stretched with a plain copy too.
  for (int top : {17, 30})
    for (int y = top; y < top + 5; ++y)
      for (int x = 1; x < 12; ++x) EXPECT_NE(v.At(skin::BoxSkinBitmap, x, y), kKey) << x << "," << y;
}

TEST(SkinPixelTable, ComboArrowsAreCentredShrinkingTrianglesOnKey) {
  const auto& v = View();
  const std::uint32_t arrow_colour[2] = {0x005F5519, 0x00ACA584};
  for (int y = 0; y < 18; ++y) {
    for (int x = 8; x < 15; ++x) {
      std::uint32_t want = kKey;
      if (y < 8) {
        const int row = y % 4;  // widths 7, 5, 3, 1
        if (x >= 8 + row && x <= 14 - row) want = arrow_colour[y / 4];
      }
      EXPECT_EQ(v.At(skin::ComboSkinBitmap, x, y), want) << x << "," << y;
    }
  }
}

TEST(SkinPixelTable, MarkBitmapIsKeyOutsideItsSixGlyphs) {
  // Check mark occupancy, as (first, last) runs per row.
  const std::vector<std::vector<std::pair<int, int>>> check = {
      {{8, 8}}, {{7, 8}}, {{6, 8}}, {{0, 1}, {5, 7}}, {{0, 2}, {4, 6}}, {{1, 5}}, {{2, 4}}, {{3, 3}}};
  std::set<std::pair<int, int>> inked;
  for (int half = 0; half < 2; ++half) {
    const int dx = 9 * half;
    for (int y = 0; y < 8; ++y)
      for (auto [a, b] : check[y])
        for (int x = a; x <= b; ++x) inked.insert({x + dx, y});
    for (int y = 9; y < 16; ++y)
      for (int x = 1; x < 8; ++x) inked.insert({x + dx, y});
    for (int y = 18; y < 23; ++y)
      for (int x = 2; x < 7; ++x) {
        const bool corner = (x == 2 || x == 6) && (y == 18 || y == 22);
        if (!corner) inked.insert({x + dx, y});
      }
  }
  const auto& v = View();
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 18; ++x) {
      const std::uint32_t colour = v.At(skin::MarkSkinBitmap, x, y);
      if (inked.count({x, y}))
        EXPECT_NE(colour, kKey) << "glyph pixel " << x << "," << y;
      else
        EXPECT_EQ(colour, kKey) << "pixel " << x << "," << y << " should be key";
    }
  }
}

TEST(SkinPixelTable, BoxCirclesHaveKeyOnlyAtTheirRowEnds) {
  const int key_run[13] = {3, 2, 1, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3};
  const auto& v = View();
  for (int frame = 0; frame < 4; ++frame) {
    for (int row = 0; row < 13; ++row) {
      const int y = 13 * frame + row;
      for (int x = 0; x < 13; ++x) {
        const bool end = x < key_run[row] || x >= 13 - key_run[row];
        if (end)
          EXPECT_EQ(v.At(skin::BoxSkinBitmap, x, y), kKey) << "frame " << frame << " " << x << "," << row;
        else
          EXPECT_NE(v.At(skin::BoxSkinBitmap, x, y), kKey) << "frame " << frame << " " << x << "," << row;
      }
    }
  }
}

}  // namespace
