// Pixels, fills, frames, the focus rectangle, lines and rectangles.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "gdi_test_util.h"
#include "platform/win32.h"

namespace {

using gdi_test::Canvas;
using gdi_test::ColorCanvas;

std::vector<COLORREF> Snapshot(HDC dc, int w, int h) {
  std::vector<COLORREF> px;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) px.push_back(GetPixel(dc, x, y));
  }
  return px;
}

TEST(Pixels, SetAndGetRespectTheBitmapAndClip) {
  Canvas dc(ColorCanvas(4, 4));
  EXPECT_EQ(SetPixel(dc, 1, 2, RGB(1, 2, 3)), RGB(1, 2, 3));
  EXPECT_EQ(GetPixel(dc, 1, 2), RGB(1, 2, 3));
  EXPECT_EQ(SetPixel(dc, 4, 0, RGB(1, 2, 3)), CLR_INVALID);
  EXPECT_EQ(GetPixel(dc, -1, 0), CLR_INVALID);
  EXPECT_EQ(GetPixel(dc, INT_MIN, INT_MAX), CLR_INVALID);
  EXPECT_TRUE(SetPixelV(dc, 0, 0, RGB(9, 9, 9)));
  EXPECT_FALSE(SetPixelV(dc, 0, 99, RGB(9, 9, 9)));
  IntersectClipRect(dc, 0, 0, 2, 2);
  EXPECT_EQ(SetPixel(dc, 3, 3, RGB(5, 5, 5)), CLR_INVALID);
  EXPECT_EQ(GetPixel(dc, 1, 2), CLR_INVALID) << "clipped away";
  // The viewport origin shifts logical coordinates.
  SelectClipRgn(dc, nullptr);
  SetViewportOrgEx(dc, 1, 1, nullptr);
  EXPECT_EQ(GetPixel(dc, 0, 1), RGB(1, 2, 3));
}

TEST(Fills, FillRectFrameRectAndSystemColourBrushes) {
  Canvas dc(ColorCanvas(6, 5, RGB(0, 0, 0)));
  RECT r{1, 1, 5, 4};
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  EXPECT_TRUE(FrameRect(dc, &r, red));
  // Frame: the outermost ring of [1,5) x [1,4).
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 6; ++x) {
      bool inRect = x >= 1 && x < 5 && y >= 1 && y < 4;
      bool ring = inRect && (x == 1 || x == 4 || y == 1 || y == 3);
      ASSERT_EQ(GetPixel(dc, x, y), ring ? RGB(255, 0, 0) : RGB(0, 0, 0)) << x << "," << y;
    }
  }
  // (HBRUSH)(COLOR_x + 1) means the system colour.
  EXPECT_TRUE(FillRect(dc, &r, reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_3DFACE + 1))));
  EXPECT_EQ(GetPixel(dc, 1, 1), RGB(212, 208, 200));
  EXPECT_EQ(GetPixel(dc, 5, 4), RGB(0, 0, 0)) << "right and bottom are exclusive";
  EXPECT_TRUE(FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT)));
  EXPECT_EQ(GetPixel(dc, 4, 3), RGB(10, 36, 106));
  EXPECT_TRUE(FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))));
  EXPECT_EQ(GetPixel(dc, 4, 3), RGB(10, 36, 106));
  RECT reversed{5, 4, 1, 1};
  EXPECT_TRUE(FillRect(dc, &reversed, red));
  EXPECT_EQ(GetPixel(dc, 2, 2), RGB(10, 36, 106)) << "a reversed rectangle is empty";
  EXPECT_TRUE(InvertRect(dc, &r));
  EXPECT_EQ(GetPixel(dc, 2, 2), RGB(245, 219, 149));
  DeleteObject(red);
}

TEST(Fills, PatBltUsesTheSelectedBrush) {
  Canvas dc(ColorCanvas(4, 1, RGB(0x0F, 0x0F, 0x0F)));
  HBRUSH b = CreateSolidBrush(RGB(0xF0, 0x00, 0xFF));
  HGDIOBJ old = SelectObject(dc, b);
  EXPECT_TRUE(PatBlt(dc, 0, 0, 2, 1, PATINVERT));
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0xFF, 0x0F, 0xF0));
  EXPECT_EQ(GetPixel(dc, 2, 0), RGB(0x0F, 0x0F, 0x0F));
  EXPECT_TRUE(PatBlt(dc, 4, 0, -1, 1, PATCOPY)) << "negative sizes extend to the left";
  EXPECT_EQ(GetPixel(dc, 3, 0), RGB(0xF0, 0x00, 0xFF));
  EXPECT_FALSE(PatBlt(dc, 0, 0, 1, 1, SRCCOPY)) << "PatBlt has no source";
  SelectObject(dc, old);
  DeleteObject(b);
}

TEST(FocusRect, InvertsAlternatePixelsOfTheBorderAndTwiceRestores) {
  const int w = 9, h = 7;
  Canvas dc(ColorCanvas(w, h, RGB(0, 0, 0)));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) SetPixel(dc, x, y, RGB(x * 20, y * 30, 77));
  }
  auto before = Snapshot(dc, w, h);
  RECT r{1, 1, 8, 6};
  ASSERT_TRUE(DrawFocusRect(dc, &r));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      bool border = x >= 1 && x < 8 && y >= 1 && y < 6 && (x == 1 || x == 7 || y == 1 || y == 5);
      bool dot = border && (x + y) % 2 == 0;
      COLORREF old = before[static_cast<std::size_t>(y * w + x)];
      ASSERT_EQ(GetPixel(dc, x, y), dot ? (~old & 0xFFFFFF) : old) << x << "," << y;
    }
  }
  ASSERT_TRUE(DrawFocusRect(dc, &r));
  EXPECT_EQ(Snapshot(dc, w, h), before);
  // Degenerate rectangles: one row, one column, empty.
  for (RECT q : {RECT{0, 3, 9, 4}, RECT{4, 0, 5, 7}, RECT{3, 3, 3, 3}}) {
    DrawFocusRect(dc, &q);
    DrawFocusRect(dc, &q);
    EXPECT_EQ(Snapshot(dc, w, h), before);
  }
}

TEST(Lines, CosmeticLinesOmitTheLastPixel) {
  Canvas dc(ColorCanvas(8, 8, RGB(0, 0, 0)));
  HPEN pen = CreatePen(PS_SOLID, 0, RGB(255, 255, 255));
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, 0, 0, nullptr);
  EXPECT_TRUE(LineTo(dc, 5, 0));
  for (int x = 0; x < 8; ++x) EXPECT_EQ(GetPixel(dc, x, 0), x < 5 ? RGB(255, 255, 255) : RGB(0, 0, 0)) << x;
  POINT pos;
  GetCurrentPositionEx(dc, &pos);
  EXPECT_EQ(pos.x, 5);
  MoveToEx(dc, 0, 2, nullptr);
  LineTo(dc, 4, 6);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(GetPixel(dc, i, 2 + i), i < 4 ? RGB(255, 255, 255) : RGB(0, 0, 0)) << i;
  }
  // A shallow line steps once per column and stays within half a pixel.
  Canvas dc2(ColorCanvas(8, 4, RGB(0, 0, 0)));
  SelectObject(dc2, pen);
  MoveToEx(dc2, 0, 0, nullptr);
  LineTo(dc2, 7, 3);
  for (int x = 0; x < 7; ++x) {
    int lit = 0;
    for (int y = 0; y < 4; ++y) {
      if (GetPixel(dc2, x, y) != 0) {
        ++lit;
        EXPECT_LE(std::abs(y * 7 - x * 3), 4) << x << "," << y;  // |y - 3x/7| <= 1/2 (+ rounding)
      }
    }
    EXPECT_EQ(lit, 1) << "column " << x;
  }
  SelectObject(dc2, GetStockObject(BLACK_PEN));
  SelectObject(dc, old);
  DeleteObject(pen);
}

TEST(Lines, XorPenTwiceRestoresAndNullPenDrawsNothing) {
  Canvas dc(ColorCanvas(6, 6, RGB(10, 20, 30)));
  auto before = Snapshot(dc, 6, 6);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  HGDIOBJ old = SelectObject(dc, pen);
  SetROP2(dc, R2_XORPEN);
  POINT pts[] = {{0, 0}, {5, 5}, {0, 5}, {0, 0}};
  EXPECT_TRUE(Polyline(dc, pts, 4));
  EXPECT_NE(Snapshot(dc, 6, 6), before);
  EXPECT_TRUE(Polyline(dc, pts, 4));
  EXPECT_EQ(Snapshot(dc, 6, 6), before);
  SelectObject(dc, GetStockObject(NULL_PEN));
  SetROP2(dc, R2_COPYPEN);
  MoveToEx(dc, 0, 0, nullptr);
  LineTo(dc, 5, 5);
  EXPECT_EQ(Snapshot(dc, 6, 6), before);
  // Lines across the whole coordinate space finish quickly and stay inside.
  SelectObject(dc, pen);
  MoveToEx(dc, INT_MIN, INT_MIN, nullptr);
  LineTo(dc, INT_MAX, INT_MAX);
  MoveToEx(dc, INT_MIN, 3, nullptr);
  LineTo(dc, INT_MAX, 3);
  EXPECT_EQ(GetPixel(dc, 2, 3), RGB(255, 0, 0));
  SelectObject(dc, old);
  DeleteObject(pen);
}

TEST(Lines, WidePenCoversTheStrokeWithRoundCaps) {
  Canvas dc(ColorCanvas(12, 10, RGB(0, 0, 0)));
  HPEN pen = CreatePen(PS_SOLID, 3, RGB(0, 255, 0));
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, 2, 5, nullptr);
  LineTo(dc, 8, 5);
  // Width 3 around y = 5, from x = 2 - 1 to 8 + 1: a cap of radius 1.5
  // covers the 3 x 3 block around each end point.
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 12; ++x) {
      bool in = x >= 1 && x <= 9 && y >= 4 && y <= 6;
      ASSERT_EQ(GetPixel(dc, x, y), in ? RGB(0, 255, 0) : RGB(0, 0, 0)) << x << "," << y;
    }
  }
  SelectObject(dc, old);
  DeleteObject(pen);
}

TEST(Shapes, RectangleOutlineFillAndNullPen) {
  Canvas dc(ColorCanvas(8, 8, RGB(0, 0, 0)));
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  EXPECT_TRUE(Rectangle(dc, 1, 1, 6, 5));
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      bool in = x >= 1 && x < 6 && y >= 1 && y < 5;
      bool edge = in && (x == 1 || x == 5 || y == 1 || y == 4);
      COLORREF want = edge ? RGB(255, 0, 0) : in ? RGB(0, 0, 255) : RGB(0, 0, 0);
      ASSERT_EQ(GetPixel(dc, x, y), want) << x << "," << y;
    }
  }
  // Null pen: the filled area is one pixel smaller on the right and bottom.
  Canvas dc2(ColorCanvas(8, 8, RGB(0, 0, 0)));
  SelectObject(dc2, GetStockObject(NULL_PEN));
  SelectObject(dc2, brush);
  Rectangle(dc2, 1, 1, 6, 5);
  EXPECT_EQ(GetPixel(dc2, 4, 3), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(dc2, 5, 3), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dc2, 4, 4), RGB(0, 0, 0));
  SelectObject(dc2, GetStockObject(WHITE_BRUSH));
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
}

TEST(Shapes, EllipseIsSymmetricInsideItsBox) {
  Canvas dc(ColorCanvas(12, 8, RGB(0, 0, 0)));
  SelectObject(dc, GetStockObject(NULL_PEN));
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  EXPECT_TRUE(Ellipse(dc, 1, 1, 11, 7));
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 12; ++x) {
      COLORREF c = GetPixel(dc, x, y);
      if (x < 1 || x >= 11 || y < 1 || y >= 7) {
        ASSERT_EQ(c, 0u) << x << "," << y;
      }
      ASSERT_EQ(c, GetPixel(dc, 11 - x, y)) << x << "," << y;
      ASSERT_EQ(c, GetPixel(dc, x, 7 - y)) << x << "," << y;
    }
  }
  EXPECT_EQ(GetPixel(dc, 6, 4), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 1, 1), RGB(0, 0, 0)) << "corners are outside the ellipse";
}

}  // namespace
