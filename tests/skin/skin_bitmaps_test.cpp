// Building the skin bitmaps from the table, and releasing and rebuilding them.
#include <gtest/gtest.h>

#include <vector>

#include "skin/skin_bitmaps.h"
#include "skin/skin_pixel_table.h"
#include "skin/skin_state.h"
#include "skin_test_dc.h"

namespace {

using skintest::GdiCounts;

std::vector<COLORREF> ReadBack(HDC dc, int width, int height) {
  std::vector<COLORREF> pixels;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixels.push_back(GetPixel(dc, x, y));
  return pixels;
}

TEST(SkinBitmaps, EveryTablePixelReadsBackFromItsBitmap) {
  skin::BuildSkinBitmaps();
  HDC dcs[5] = {skin::ButtonSkinDC, skin::ComboSkinDC, skin::MarkSkinDC, skin::BoxSkinDC, skin::HeaderSkinDC};
  const int sizes[5][2] = {{7, 84}, {15, 18}, {18, 24}, {13, 52}, {9, 20}};
  for (int b = 0; b < 5; ++b) {
    ASSERT_NE(dcs[b], nullptr) << "bitmap " << b;
    EXPECT_EQ(skin::SkinBitmapDC(b), dcs[b]);
    BITMAP info{};
    ASSERT_NE(GetObjectA(GetCurrentObject(dcs[b], OBJ_BITMAP), sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, sizes[b][0]);
    EXPECT_EQ(info.bmHeight, sizes[b][1]);
  }
  for (const skin::SkinPixel& p : skin::SkinPixelTable)
    ASSERT_EQ(GetPixel(dcs[p.bitmap], p.x, p.y), p.colour)
        << int{p.bitmap} << ": " << int{p.x} << "," << int{p.y};
  skin::ReleaseSkinBitmaps();
}

TEST(SkinBitmaps, ReleaseAndRebuildGivesIdenticalBitmapsAndLeaksNothing) {
  const GdiCounts before;
  skin::BuildSkinBitmaps();
  const GdiCounts built;
  EXPECT_EQ(built.dcs, before.dcs + 5);
  EXPECT_EQ(built.bitmaps, before.bitmaps + 5);
  std::vector<COLORREF> first[5];
  for (int b = 0; b < 5; ++b)
    first[b] =
        ReadBack(skin::SkinBitmapDC(b), skin::kSkinBitmapSizes[b].width, skin::kSkinBitmapSizes[b].height);

  skin::BuildSkinBitmaps();
  EXPECT_EQ(GdiCounts{}, built) << "building again replaces the bitmaps instead of orphaning them";

  skin::ReleaseSkinBitmaps();
  EXPECT_EQ(GdiCounts{}, before);
  for (int b = 0; b < 5; ++b) EXPECT_EQ(skin::SkinBitmapDC(b), nullptr);
  EXPECT_EQ(skin::ButtonSkinDC, nullptr);
  EXPECT_EQ(skin::HeaderSkinDC, nullptr);

  for (int round = 0; round < 3; ++round) {
    skin::BuildSkinBitmaps();
    for (int b = 0; b < 5; ++b)
      EXPECT_EQ(
          ReadBack(skin::SkinBitmapDC(b), skin::kSkinBitmapSizes[b].width, skin::kSkinBitmapSizes[b].height),
          first[b])
          << "bitmap " << b << " round " << round;
    skin::ReleaseSkinBitmaps();
  }
  EXPECT_EQ(GdiCounts{}, before);
}

}  // namespace
