// Copies: AlphaBlend, StretchBlt, clipping, overlapping copies, bad input.
#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "gdi_test_util.h"
#include "platform/gdi/pixel_buffer.h"
#include "platform/gdi/surface_dc.h"
#include "platform/win32.h"

namespace {

using gdi_test::Canvas;
using gdi_test::ColorCanvas;

BLENDFUNCTION Constant(BYTE alpha) { return BLENDFUNCTION{AC_SRC_OVER, 0, alpha, 0}; }

TEST(AlphaBlend, ConstantAlphaMixesEachChannelWithRounding) {
  const COLORREF d = RGB(0, 100, 255), s = RGB(255, 200, 0);
  Canvas src(ColorCanvas(2, 2, s));
  auto blend = [&](BYTE alpha) {
    Canvas dst(ColorCanvas(2, 2, d));
    EXPECT_TRUE(AlphaBlend(dst, 0, 0, 2, 2, src, 0, 0, 2, 2, Constant(alpha)));
    return GetPixel(dst, 1, 1);
  };
  EXPECT_EQ(blend(0), d) << "alpha 0 leaves the destination unchanged";
  EXPECT_EQ(blend(255), s) << "alpha 255 gives exactly the source";
  // dst + (src - dst) * 128 / 255, rounded: 0→128.0, 100→150.2, 255→127.0.
  EXPECT_EQ(blend(128), RGB(128, 150, 127));
  // 1/255 of the way: 0→1.0, 100→100.39, 255→254.0.
  EXPECT_EQ(blend(1), RGB(1, 100, 254));
}

// Rows long enough for the blocked path and its tail, with every channel value different, against
// the exact rounding of dst + (src - dst) * alpha / 255; a bitmap blended onto itself one pixel
// along mixes with the picture as it was before the call.
TEST(AlphaBlend, LongRowsAndSelfOverlapMixEveryPixelExactly) {
  constexpr int kW = 37;
  auto colour = [](int i, int seed) {
    return RGB((i * 7 + seed) % 256, (i * 31 + seed * 3) % 256, (i * 101 + seed * 5) % 256);
  };
  auto mixed = [](COLORREF d, COLORREF s, int a) {
    auto ch = [a](int dv, int sv) { return (2 * (dv * (255 - a) + sv * a) + 255) / 510; };
    return RGB(ch(GetRValue(d), GetRValue(s)), ch(GetGValue(d), GetGValue(s)),
               ch(GetBValue(d), GetBValue(s)));
  };
  for (int a : {1, 77, 128, 254}) {
    Canvas src(ColorCanvas(kW, 1)), dst(ColorCanvas(kW, 1));
    for (int i = 0; i < kW; ++i) {
      SetPixel(src, i, 0, colour(i, 11));
      SetPixel(dst, i, 0, colour(i, 200));
    }
    ASSERT_TRUE(AlphaBlend(dst, 0, 0, kW, 1, src, 0, 0, kW, 1, Constant(static_cast<BYTE>(a))));
    for (int i = 0; i < kW; ++i)
      ASSERT_EQ(GetPixel(dst, i, 0), mixed(colour(i, 200), colour(i, 11), a))
          << "alpha " << a << " pixel " << i;

    Canvas self(ColorCanvas(kW + 1, 1));
    for (int i = 0; i <= kW; ++i) SetPixel(self, i, 0, colour(i, 5));
    ASSERT_TRUE(AlphaBlend(self, 1, 0, kW, 1, self, 0, 0, kW, 1, Constant(static_cast<BYTE>(a))));
    for (int i = 1; i <= kW; ++i)
      ASSERT_EQ(GetPixel(self, i, 0), mixed(colour(i, 5), colour(i - 1, 5), a))
          << "alpha " << a << " pixel " << i;
  }
}

TEST(AlphaBlend, RefusesWhatItCannotDo) {
  Canvas src(ColorCanvas(4, 4, RGB(1, 1, 1)));
  Canvas dst(ColorCanvas(4, 4, RGB(9, 9, 9)));
  EXPECT_FALSE(AlphaBlend(dst, 0, 0, 4, 4, src, 1, 0, 4, 4, Constant(200))) << "source outside its bitmap";
  EXPECT_FALSE(AlphaBlend(dst, 0, 0, -4, 4, src, 0, 0, 4, 4, Constant(200)));
  BLENDFUNCTION perPixel{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  EXPECT_FALSE(AlphaBlend(dst, 0, 0, 4, 4, src, 0, 0, 4, 4, perPixel));
  EXPECT_EQ(GetPixel(dst, 0, 0), RGB(9, 9, 9));
  // A destination partly off the bitmap is clipped, not refused.
  EXPECT_TRUE(AlphaBlend(dst, 2, 2, 4, 4, src, 0, 0, 4, 4, Constant(255)));
  EXPECT_EQ(GetPixel(dst, 3, 3), RGB(1, 1, 1));
  EXPECT_EQ(GetPixel(dst, 1, 1), RGB(9, 9, 9));
}

// A 2 x 2 source with four distinct colours.
HDC Quad() {
  HDC dc = ColorCanvas(2, 2);
  SetPixel(dc, 0, 0, RGB(255, 0, 0));
  SetPixel(dc, 1, 0, RGB(0, 255, 0));
  SetPixel(dc, 0, 1, RGB(0, 0, 255));
  SetPixel(dc, 1, 1, RGB(255, 255, 255));
  return dc;
}

TEST(StretchBlt, NearestPixelEnlargement) {
  Canvas src(Quad());
  Canvas dst(ColorCanvas(6, 6));
  ASSERT_TRUE(StretchBlt(dst, 0, 0, 6, 6, src, 0, 0, 2, 2, SRCCOPY));
  // Each source pixel becomes a 3 x 3 block.
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 6; ++x) {
      ASSERT_EQ(GetPixel(dst, x, y), GetPixel(src, x / 3, y / 3)) << x << "," << y;
    }
  }
}

TEST(StretchBlt, ReductionAndMirroring) {
  Canvas src(ColorCanvas(4, 1));
  for (int x = 0; x < 4; ++x) SetPixel(src, x, 0, RGB(x * 10, 0, 0));
  Canvas dst(ColorCanvas(4, 1, RGB(1, 1, 1)));
  // 4 → 2: destination pixel j takes source floor((2j + 1) * 4 / 4) = 1, 3.
  ASSERT_TRUE(StretchBlt(dst, 0, 0, 2, 1, src, 0, 0, 4, 1, SRCCOPY));
  EXPECT_EQ(GetPixel(dst, 0, 0), RGB(10, 0, 0));
  EXPECT_EQ(GetPixel(dst, 1, 0), RGB(30, 0, 0));
  // A negative destination width spans [x + w, x) and mirrors.
  ASSERT_TRUE(StretchBlt(dst, 4, 0, -4, 1, src, 0, 0, 4, 1, SRCCOPY));
  for (int x = 0; x < 4; ++x) EXPECT_EQ(GetPixel(dst, x, 0), RGB((3 - x) * 10, 0, 0));
  // Both negative: no mirror.
  ASSERT_TRUE(StretchBlt(dst, 4, 0, -4, 1, src, 4, 0, -4, 1, SRCCOPY));
  for (int x = 0; x < 4; ++x) EXPECT_EQ(GetPixel(dst, x, 0), RGB(x * 10, 0, 0));
}

TEST(StretchBlt, RasterOperationAndOutsideSource) {
  Canvas src(Quad());
  Canvas dst(ColorCanvas(4, 4, RGB(0x0F, 0x0F, 0x0F)));
  ASSERT_TRUE(StretchBlt(dst, 0, 0, 4, 4, src, 0, 0, 2, 2, SRCPAINT));
  EXPECT_EQ(GetPixel(dst, 0, 0), RGB(0xFF, 0x0F, 0x0F));
  EXPECT_EQ(GetPixel(dst, 3, 3), RGB(0xFF, 0xFF, 0xFF));
  // Source pixels that do not exist are not drawn: the right half of this
  // source rectangle lies outside the 2 x 2 bitmap.
  Canvas dst2(ColorCanvas(4, 2, RGB(7, 7, 7)));
  ASSERT_TRUE(StretchBlt(dst2, 0, 0, 4, 2, src, 1, 0, 2, 1, SRCCOPY));
  EXPECT_EQ(GetPixel(dst2, 0, 0), RGB(0, 255, 0));
  EXPECT_EQ(GetPixel(dst2, 3, 1), RGB(7, 7, 7));
  EXPECT_FALSE(StretchBlt(dst2, 0, 0, 4, 2, src, 0, 0, 0, 2, SRCCOPY)) << "an empty source cannot be sampled";
}

TEST(BitBlt, ClippedByBufferEdgesAndClipRegion) {
  Canvas src(ColorCanvas(10, 10, RGB(50, 50, 50)));
  Canvas dst(ColorCanvas(10, 10, RGB(0, 0, 0)));
  // Half off the destination and half off the source.
  ASSERT_TRUE(BitBlt(dst, 6, -3, 10, 10, src, -2, 0, SRCCOPY));
  EXPECT_EQ(GetPixel(dst, 7, 0), RGB(0, 0, 0)) << "source column -1 does not exist";
  EXPECT_EQ(GetPixel(dst, 8, 0), RGB(50, 50, 50));
  EXPECT_EQ(GetPixel(dst, 9, 6), RGB(50, 50, 50));
  EXPECT_EQ(GetPixel(dst, 9, 7), RGB(0, 0, 0));

  Canvas dst2(ColorCanvas(10, 10, RGB(0, 0, 0)));
  HRGN clip = CreateRectRgn(0, 0, 3, 3);
  HRGN other = CreateRectRgn(7, 7, 10, 10);
  CombineRgn(clip, clip, other, RGN_OR);
  EXPECT_EQ(SelectClipRgn(dst2, clip), COMPLEXREGION);
  DeleteObject(other);
  EXPECT_TRUE(DeleteObject(clip)) << "the DC keeps a copy of its clip region";
  ASSERT_TRUE(BitBlt(dst2, 0, 0, 10, 10, src, 0, 0, SRCCOPY));
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      bool inside = (x < 3 && y < 3) || (x >= 7 && y >= 7);
      SelectClipRgn(dst2, nullptr);
      ASSERT_EQ(GetPixel(dst2, x, y), inside ? RGB(50, 50, 50) : RGB(0, 0, 0)) << x << "," << y;
    }
  }
  RECT box;
  EXPECT_EQ(GetClipBox(dst2, &box), SIMPLEREGION);
  EXPECT_EQ(box.right, 10);
}

TEST(BitBlt, OverlappingCopyWithinOneBitmap) {
  Canvas dc(ColorCanvas(8, 1));
  for (int x = 0; x < 8; ++x) SetPixel(dc, x, 0, RGB(x, 0, 0));
  ASSERT_TRUE(BitBlt(dc, 2, 0, 6, 1, dc, 0, 0, SRCCOPY));
  for (int x = 2; x < 8; ++x) EXPECT_EQ(GetPixel(dc, x, 0), RGB(x - 2, 0, 0));
  ASSERT_TRUE(BitBlt(dc, 0, 0, 6, 1, dc, 2, 0, SRCINVERT));
  // Each pixel XOR the pixel two to its right, both as they were before.
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0 ^ 0, 0, 0));
  EXPECT_EQ(GetPixel(dc, 3, 0), RGB(1 ^ 3, 0, 0));
}

TEST(BitBlt, HugeAndNegativeArgumentsStayInside) {
  Canvas src(ColorCanvas(4, 4, RGB(3, 3, 3)));
  Canvas dst(ColorCanvas(4, 4, RGB(0, 0, 0)));
  EXPECT_TRUE(BitBlt(dst, INT_MAX, INT_MAX, INT_MAX, INT_MAX, src, INT_MIN, INT_MIN, SRCCOPY));
  EXPECT_TRUE(BitBlt(dst, INT_MIN, INT_MIN, INT_MAX, INT_MAX, src, INT_MAX, 0, SRCCOPY));
  EXPECT_TRUE(StretchBlt(dst, INT_MIN, INT_MIN, INT_MAX, INT_MAX, src, 0, 0, 4, 4, SRCCOPY));
  EXPECT_TRUE(StretchBlt(dst, 0, 0, 4, 4, src, INT_MIN, INT_MIN, INT_MAX, INT_MAX, SRCCOPY));
  EXPECT_TRUE(PatBlt(dst, INT_MIN, INT_MIN, INT_MAX, INT_MAX, BLACKNESS));
  // A negative BitBlt size extends up and left, without mirroring.
  ASSERT_TRUE(BitBlt(dst, 4, 4, -2, -2, src, 4, 4, SRCCOPY));
  EXPECT_EQ(GetPixel(dst, 2, 2), RGB(3, 3, 3));
  EXPECT_EQ(GetPixel(dst, 1, 1), RGB(0, 0, 0));
  EXPECT_FALSE(BitBlt(dst, 0, 0, 4, 4, nullptr, 0, 0, SRCCOPY)) << "SRCCOPY needs a source";
  EXPECT_TRUE(BitBlt(dst, 0, 0, 4, 4, nullptr, 0, 0, WHITENESS)) << "a source-free operation does not";
  EXPECT_EQ(GetPixel(dst, 0, 0), RGB(255, 255, 255));
  HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  EXPECT_FALSE(BitBlt(dst, 0, 0, 4, 4, display, 0, 0, SRCCOPY)) << "a display DC has no pixels to read";
  EXPECT_TRUE(BitBlt(display, 0, 0, 4, 4, src, 0, 0, SRCCOPY));
  EXPECT_EQ(GetPixel(display, 0, 0), CLR_INVALID);
  DeleteDC(display);
}

TEST(SurfaceDc, DrawsThroughOriginAndVisibleRegionOnly) {
  using platform::gdi::PixelBuffer;
  using platform::gdi::Region;
  auto buffer = std::make_shared<PixelBuffer>(20, 20, 0);
  // The window sits at (5, 5); its lower-right quarter is covered.
  Region visible = Region(RECT{5, 5, 15, 15}).Subtract(Region(RECT{10, 10, 15, 15}));
  HDC dc = platform::gdi::CreateSurfaceDC(buffer, POINT{5, 5}, visible);
  ASSERT_NE(dc, nullptr);
  buffer->ClearDirty();
  gdi_test::Fill(dc, RECT{-100, -100, 100, 100}, RGB(255, 0, 0));
  const std::uint32_t red = platform::gdi::ToPixel(RGB(255, 0, 0));
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) {
      ASSERT_EQ(buffer->row(y)[x] == red, visible.Contains(x, y)) << x << "," << y;
    }
  }
  EXPECT_EQ(buffer->dirty.Bounds().left, 5);
  EXPECT_EQ(buffer->dirty.Bounds().bottom, 15);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0)) << "logical (0,0) is buffer (5,5)";
  EXPECT_EQ(GetPixel(dc, 7, 7), CLR_INVALID) << "covered part";
  // A clip region narrows but never widens what is visible.
  HRGN wide = CreateRectRgn(-50, -50, 50, 50);
  SelectClipRgn(dc, wide);
  gdi_test::Fill(dc, RECT{-100, -100, 100, 100}, RGB(0, 255, 0));
  EXPECT_EQ(buffer->row(0)[0], 0u);
  EXPECT_EQ(buffer->row(12)[12], 0u);
  DeleteObject(wide);
  // Moving the window moves the origin.
  platform::gdi::SetSurfaceDCGeometry(dc, POINT{0, 0}, Region(RECT{0, 0, 20, 20}));
  SelectClipRgn(dc, nullptr);
  SetPixel(dc, 0, 0, RGB(0, 0, 255));
  EXPECT_EQ(buffer->row(0)[0], platform::gdi::ToPixel(RGB(0, 0, 255)));
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_FALSE(platform::gdi::SetSurfaceDCGeometry(dc, POINT{0, 0}, Region()));
}

}  // namespace
