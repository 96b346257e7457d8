// Raster operations and the colour/monochrome rules of copies.
#include <gtest/gtest.h>

#include "gdi_test_util.h"
#include "platform/win32.h"

namespace {

using gdi_test::Canvas;
using gdi_test::ColorCanvas;
using gdi_test::MonoCanvas;

// The result of ternary operation `index` for pattern, source and
// destination colours, computed one bit at a time from the truth table.
COLORREF Expected(unsigned index, COLORREF p, COLORREF s, COLORREF d) {
  COLORREF out = 0;
  for (int bit = 0; bit < 24; ++bit) {
    unsigned pb = (p >> bit) & 1, sb = (s >> bit) & 1, db = (d >> bit) & 1;
    out |= static_cast<COLORREF>((index >> ((pb << 2) | (sb << 1) | db)) & 1) << bit;
  }
  return out;
}

// One pixel of BitBlt(dest, src) with a brush of colour p selected.
COLORREF BlitOnce(DWORD rop, COLORREF p, COLORREF s, COLORREF d) {
  Canvas src(ColorCanvas(1, 1, s));
  Canvas dst(ColorCanvas(1, 1, d));
  HBRUSH brush = CreateSolidBrush(p);
  HGDIOBJ old = SelectObject(dst, brush);
  BitBlt(dst, 0, 0, 1, 1, src, 0, 0, rop);
  SelectObject(dst, old);
  DeleteObject(brush);
  return GetPixel(dst, 0, 0);
}

TEST(RasterOps, EveryTernaryCodeFollowsItsTruthTable) {
  // With P = F0, S = CC, D = AA in every channel, bit k of each result byte
  // is the table entry for k: the result is the index itself.
  const COLORREF p = RGB(0xF0, 0xF0, 0xF0), s = RGB(0xCC, 0xCC, 0xCC), d = RGB(0xAA, 0xAA, 0xAA);
  const COLORREF p2 = RGB(0x12, 0xE4, 0x7B), s2 = RGB(0x9C, 0x35, 0xF0), d2 = RGB(0x66, 0x0F, 0xA5);
  for (unsigned index = 0; index < 256; ++index) {
    DWORD rop = index << 16;
    ASSERT_EQ(BlitOnce(rop, p, s, d), RGB(index, index, index)) << "index " << index;
    ASSERT_EQ(BlitOnce(rop, p2, s2, d2), Expected(index, p2, s2, d2)) << "index " << index;
  }
}

TEST(RasterOps, NamedCodesAndTheirBooleanMeaning) {
  const COLORREF p = RGB(0x0F, 0x33, 0xF0), s = RGB(0x3C, 0x55, 0x99), d = RGB(0x5A, 0xC3, 0x0F);
  struct Case {
    DWORD rop;
    COLORREF want;
  } cases[] = {
      {SRCCOPY, s},
      {SRCPAINT, s | d},
      {SRCAND, s & d},
      {SRCINVERT, s ^ d},
      {SRCERASE, s & (~d & 0xFFFFFF)},
      {NOTSRCCOPY, ~s & 0xFFFFFF},
      {NOTSRCERASE, ~(s | d) & 0xFFFFFF},
      {MERGECOPY, p & s},
      {MERGEPAINT, (~s & 0xFFFFFF) | d},
      {PATCOPY, p},
      {PATPAINT, p | (~s & 0xFFFFFF) | d},
      {PATINVERT, p ^ d},
      {DSTINVERT, ~d & 0xFFFFFF},
      {BLACKNESS, 0},
      {WHITENESS, 0xFFFFFF},
      {0x00220326, d & (~s & 0xFFFFFF)},  // DSna, used for transparent copies
  };
  for (const Case& c : cases) EXPECT_EQ(BlitOnce(c.rop, p, s, d), c.want) << std::hex << c.rop;
}

TEST(RasterOps, BinaryPenOperations) {
  const COLORREF pen = RGB(0x0F, 0x33, 0xF0), d = RGB(0x5A, 0xC3, 0x0F);
  // R2 code n: bit ((P << 1) | D) of n - 1 is the result.
  for (int code = R2_BLACK; code <= R2_WHITE; ++code) {
    Canvas dc(ColorCanvas(4, 1, d));
    HPEN hp = CreatePen(PS_SOLID, 1, pen);
    HGDIOBJ old = SelectObject(dc, hp);
    SetROP2(dc, code);
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 3, 0);
    COLORREF want = 0;
    for (int bit = 0; bit < 24; ++bit) {
      unsigned pb = (pen >> bit) & 1, db = (d >> bit) & 1;
      want |= static_cast<COLORREF>(((code - 1) >> ((pb << 1) | db)) & 1) << bit;
    }
    EXPECT_EQ(GetPixel(dc, 1, 0), want) << "R2 code " << code;
    EXPECT_EQ(GetPixel(dc, 3, 0), d) << "the last point of a line is not drawn";
    SelectObject(dc, old);
    DeleteObject(hp);
  }
}

TEST(MonochromeRules, ColourToMonoMakesTheSourceBackgroundWhite) {
  const COLORREF key = RGB(255, 0, 255);
  Canvas src(ColorCanvas(3, 1, RGB(10, 20, 30)));
  SetPixel(src, 1, 0, key);
  SetPixel(src, 2, 0, RGB(255, 255, 255));  // white, but not the background colour
  SetBkColor(src, key);
  Canvas mask(MonoCanvas(3, 1));
  // The destination's colours play no part in this direction.
  SetBkColor(mask, RGB(10, 20, 30));
  SetTextColor(mask, key);
  ASSERT_TRUE(BitBlt(mask, 0, 0, 3, 1, src, 0, 0, SRCCOPY));
  EXPECT_EQ(GetPixel(mask, 0, 0), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(mask, 1, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(mask, 2, 0), RGB(0, 0, 0));
}

TEST(MonochromeRules, MonoToColourTakesTheDestinationTextAndBackground) {
  Canvas mono(MonoCanvas(2, 1));
  EXPECT_EQ(SetPixel(mono, 1, 0, RGB(255, 255, 255)), RGB(255, 255, 255));
  Canvas dst(ColorCanvas(2, 1, RGB(1, 2, 3)));
  SetTextColor(dst, RGB(200, 0, 0));
  SetBkColor(dst, RGB(0, 0, 200));
  // The source DC's colours play no part in this direction.
  SetTextColor(mono, RGB(9, 9, 9));
  SetBkColor(mono, RGB(8, 8, 8));
  ASSERT_TRUE(BitBlt(dst, 0, 0, 2, 1, mono, 0, 0, SRCCOPY));
  EXPECT_EQ(GetPixel(dst, 0, 0), RGB(200, 0, 0)) << "0 bits take the text colour";
  EXPECT_EQ(GetPixel(dst, 1, 0), RGB(0, 0, 200)) << "1 bits take the background colour";
}

TEST(MonochromeRules, MonochromePixelsAreOnlyBlackOrWhite) {
  Canvas mono(MonoCanvas(4, 1));
  EXPECT_EQ(SetPixel(mono, 0, 0, RGB(250, 240, 230)), RGB(255, 255, 255));
  EXPECT_EQ(SetPixel(mono, 1, 0, RGB(20, 30, 40)), RGB(0, 0, 0));
  gdi_test::Fill(mono, RECT{2, 0, 4, 1}, RGB(200, 200, 200));
  EXPECT_EQ(GetPixel(mono, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(mono, 1, 0), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(mono, 3, 0), RGB(255, 255, 255));
  // Colour→mono through a non-copy operation still yields pure bits.
  Canvas src(ColorCanvas(4, 1, RGB(7, 7, 7)));
  ASSERT_TRUE(BitBlt(mono, 0, 0, 4, 1, src, 0, 0, SRCINVERT));
  for (int x = 0; x < 4; ++x) {
    COLORREF c = GetPixel(mono, x, 0);
    EXPECT_TRUE(c == 0 || c == 0xFFFFFF) << std::hex << c;
  }
}

TEST(MonochromeRules, NewMemoryDcHoldsAMonochromePlaceholder) {
  HDC mem = CreateCompatibleDC(nullptr);
  EXPECT_EQ(GetDeviceCaps(mem, BITSPIXEL), 1);
  HBITMAP fromMem = CreateCompatibleBitmap(mem, 8, 8);
  BITMAP info{};
  ASSERT_EQ(GetObjectA(fromMem, sizeof info, &info), static_cast<int>(sizeof info));
  EXPECT_EQ(info.bmBitsPixel, 1);
  EXPECT_EQ(info.bmPlanes, 1);
  EXPECT_EQ(info.bmWidthBytes, 2) << "rows are word aligned";
  // Compatible with the display instead: 32 bits.
  HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  ASSERT_NE(display, nullptr);
  EXPECT_EQ(GetDeviceCaps(display, BITSPIXEL), 32);
  HBITMAP fromDisplay = CreateCompatibleBitmap(display, 7, 3);
  ASSERT_EQ(GetObjectA(fromDisplay, sizeof info, &info), static_cast<int>(sizeof info));
  EXPECT_EQ(info.bmBitsPixel, 32);
  EXPECT_EQ(info.bmWidth, 7);
  EXPECT_EQ(info.bmHeight, 3);
  EXPECT_EQ(info.bmWidthBytes, 28);
  // Once a colour bitmap is in, compatible bitmaps are colour too.
  HGDIOBJ placeholder = SelectObject(mem, fromDisplay);
  ASSERT_NE(placeholder, nullptr);
  ASSERT_EQ(GetObjectA(placeholder, sizeof info, &info), static_cast<int>(sizeof info));
  EXPECT_EQ(info.bmWidth, 1);
  EXPECT_EQ(info.bmBitsPixel, 1);
  HBITMAP again = CreateCompatibleBitmap(mem, 2, 2);
  ASSERT_EQ(GetObjectA(again, sizeof info, &info), static_cast<int>(sizeof info));
  EXPECT_EQ(info.bmBitsPixel, 32);
  EXPECT_TRUE(DeleteObject(placeholder)) << "the stock placeholder survives DeleteObject";
  EXPECT_EQ(GetObjectA(placeholder, sizeof info, &info), static_cast<int>(sizeof info));
  DeleteObject(again);
  DeleteObject(fromMem);
  DeleteDC(mem);
  DeleteDC(display);
}

// The transparent copy of the skin engine, done by hand: a mask from the
// key colour, the key blackened in the source (DSna), the destination
// masked (SRCAND) and the source merged in (SRCPAINT).
TEST(MonochromeRules, MaskSequenceLeavesTheDestinationWhereTheSourceHasTheKey) {
  const COLORREF key = RGB(255, 0, 255);
  const int w = 4, h = 2;
  Canvas dest(ColorCanvas(w, h, RGB(30, 60, 90)));
  SetPixel(dest, 3, 1, RGB(1, 2, 3));
  Canvas src(ColorCanvas(w, h, key));
  SetPixel(src, 0, 0, RGB(200, 100, 50));
  SetPixel(src, 2, 1, RGB(0, 0, 0));
  SetPixel(src, 3, 1, RGB(255, 255, 255));

  Canvas back(ColorCanvas(w, h));
  BitBlt(back, 0, 0, w, h, dest, 0, 0, SRCCOPY);
  Canvas buf(ColorCanvas(w, h));
  BitBlt(buf, 0, 0, w, h, src, 0, 0, SRCCOPY);
  Canvas mask(MonoCanvas(w, h));
  SetBkColor(buf, key);
  SetTextColor(buf, RGB(255, 255, 255));
  BitBlt(mask, 0, 0, w, h, buf, 0, 0, SRCCOPY);
  SetTextColor(buf, RGB(0, 0, 0));
  SetBkColor(buf, RGB(255, 255, 255));
  BitBlt(buf, 0, 0, w, h, mask, 0, 0, 0x00220326);
  BitBlt(back, 0, 0, w, h, mask, 0, 0, SRCAND);
  BitBlt(back, 0, 0, w, h, buf, 0, 0, SRCPAINT);
  BitBlt(dest, 0, 0, w, h, back, 0, 0, SRCCOPY);

  EXPECT_EQ(GetPixel(dest, 0, 0), RGB(200, 100, 50));
  EXPECT_EQ(GetPixel(dest, 2, 1), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dest, 3, 1), RGB(255, 255, 255));
  for (auto [x, y] : {std::pair{1, 0}, std::pair{2, 0}, std::pair{3, 0}, std::pair{0, 1}, std::pair{1, 1}}) {
    EXPECT_EQ(GetPixel(dest, x, y), RGB(30, 60, 90)) << x << "," << y;
  }
}

TEST(TransparentBlt, SkipsTheKeyColour) {
  Canvas dst(ColorCanvas(2, 1, RGB(5, 5, 5)));
  Canvas src(ColorCanvas(2, 1, RGB(255, 0, 255)));
  SetPixel(src, 1, 0, RGB(9, 8, 7));
  ASSERT_TRUE(TransparentBlt(dst, 0, 0, 2, 1, src, 0, 0, 2, 1, RGB(255, 0, 255)));
  EXPECT_EQ(GetPixel(dst, 0, 0), RGB(5, 5, 5));
  EXPECT_EQ(GetPixel(dst, 1, 0), RGB(9, 8, 7));
  EXPECT_FALSE(TransparentBlt(dst, 0, 0, 2, 1, src, 1, 0, 2, 1, 0)) << "source reaches outside";
}

}  // namespace
