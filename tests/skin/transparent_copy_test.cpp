// Key-colour copies: the key is left out, every other colour (black and white included) is
// copied exactly, the rectangle is the one asked for, and nothing is leaked.
#include <gtest/gtest.h>

#include "skin/skin_blit.h"
#include "skin/skin_types.h"
#include "skin_test_dc.h"

namespace {

using skin::kKeyColour;
using skin::TransparentCopy;
using skintest::Distinct;
using skintest::GdiCounts;
using skintest::TestDC;

constexpr COLORREF kGround = 0x00336699;

TEST(TransparentCopy, AllKeySourceLeavesTheDestinationUnchanged) {
  TestDC src(9, 6), dest(12, 10);
  src.Fill(kKeyColour);
  dest.Fill(kGround);
  const GdiCounts before;
  TransparentCopy(dest.dc(), 1, 2, 9, 6, src.dc(), 0, 0, kKeyColour, nullptr);
  EXPECT_EQ(GdiCounts{}, before) << "work DCs, bitmaps and the halftone palette are released";
  for (COLORREF c : dest.Pixels()) ASSERT_EQ(c, kGround);
}

TEST(TransparentCopy, SourceWithoutKeyEqualsAPlainCopy) {
  TestDC src(9, 6), copied(12, 10), plain(12, 10);
  // Black and white must survive: the mask steps turn key pixels into exactly those colours.
  src.Paint([](int x, int y) { return x == 0 ? 0x00000000 : x == 1 ? 0x00FFFFFF : Distinct(x, y); });
  copied.Fill(kGround);
  plain.Fill(kGround);
  TransparentCopy(copied.dc(), 2, 3, 7, 5, src.dc(), 1, 1, kKeyColour, nullptr);
  BitBlt(plain.dc(), 2, 3, 7, 5, src.dc(), 1, 1, SRCCOPY);
  EXPECT_EQ(copied.Pixels(), plain.Pixels());
}

TEST(TransparentCopy, MixedSourceCopiesExactlyItsNonKeyPixels) {
  TestDC src(8, 8), dest(8, 8);
  auto checker = [](int x, int y) { return (x + y) % 2 ? kKeyColour : Distinct(x, y); };
  src.Paint(checker);
  dest.Paint([](int x, int y) { return RGB(0, static_cast<BYTE>(x), static_cast<BYTE>(y)); });
  TransparentCopy(dest.dc(), 0, 0, 8, 8, src.dc(), 0, 0, kKeyColour, nullptr);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      const COLORREF want = (x + y) % 2 ? RGB(0, static_cast<BYTE>(x), static_cast<BYTE>(y)) : Distinct(x, y);
      ASSERT_EQ(dest.At(x, y), want) << x << "," << y;
    }
}

TEST(TransparentCopy, ASystemColourReferenceServesAsKey) {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  TestDC src(4, 1), dest(4, 1);
  src.Paint([face](int x, int) { return x % 2 ? face : Distinct(x, 0); });
  dest.Fill(kGround);
  TransparentCopy(dest.dc(), 0, 0, 4, 1, src.dc(), 0, 0, 0x80000000 | COLOR_BTNFACE, nullptr);
  EXPECT_EQ(dest.At(0, 0), Distinct(0, 0));
  EXPECT_EQ(dest.At(1, 0), kGround);
  EXPECT_EQ(dest.At(2, 0), Distinct(2, 0));
  EXPECT_EQ(dest.At(3, 0), kGround);
}

TEST(TransparentCopy, UnreadableSourceLeavesTheDestinationUnchanged) {
  TestDC dest(6, 6);
  dest.Fill(kGround);
  const GdiCounts before;
  TransparentCopy(dest.dc(), 0, 0, 6, 6, nullptr, 0, 0, kKeyColour, nullptr);
  EXPECT_EQ(GdiCounts{}, before);
  for (COLORREF c : dest.Pixels()) ASSERT_EQ(c, kGround);
}

TEST(TransparentCopy, ACallersPaletteIsUsedButNotDeleted) {
  HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  HPALETTE palette = CreateHalftonePalette(display);
  DeleteDC(display);
  ASSERT_NE(palette, nullptr);
  TestDC src(3, 1), dest(3, 1);
  src.Paint([](int x, int) { return x == 1 ? kKeyColour : Distinct(x, 0); });
  dest.Fill(kGround);
  TransparentCopy(dest.dc(), 0, 0, 3, 1, src.dc(), 0, 0, kKeyColour, palette);
  EXPECT_EQ(dest.At(0, 0), Distinct(0, 0));
  EXPECT_EQ(dest.At(1, 0), kGround);
  EXPECT_EQ(dest.At(2, 0), Distinct(2, 0));
  EXPECT_EQ(GetObjectType(palette), static_cast<DWORD>(OBJ_PAL)) << "the caller still owns its palette";
  DeleteObject(palette);
}

}  // namespace
