// Object handles: ownership, stock objects, stale and mistyped handles, DC
// state, system colours, colour translation and the rectangle helpers.
#include <gtest/gtest.h>

#include "gdi_test_util.h"
#include "platform/gdi/display.h"
#include "platform/handles.h"
#include "platform/win32.h"

namespace {

using platform::HandleKind;
using platform::LiveHandleCount;

TEST(Ownership, DeleteDcReleasesItsBitmapButNotThePlaceholder) {
  HDC display = CreateDCA("DISPLAY", "", "", nullptr);
  ASSERT_NE(display, nullptr);
  const auto bitmaps = LiveHandleCount(HandleKind::Bitmap);
  const auto dcs = LiveHandleCount(HandleKind::DC);
  HDC mem = CreateCompatibleDC(display);
  HBITMAP bm = CreateCompatibleBitmap(display, 16, 8);
  ASSERT_NE(bm, nullptr);
  EXPECT_EQ(LiveHandleCount(HandleKind::Bitmap), bitmaps + 1);
  HGDIOBJ placeholder = SelectObject(mem, bm);
  EXPECT_TRUE(DeleteObject(placeholder));
  EXPECT_FALSE(DeleteObject(bm)) << "a bitmap selected into a DC cannot be deleted";
  HDC other = CreateCompatibleDC(display);
  EXPECT_EQ(SelectObject(other, bm), nullptr) << "a bitmap lives in one DC at a time";
  DeleteDC(other);
  EXPECT_TRUE(DeleteDC(mem));
  EXPECT_EQ(LiveHandleCount(HandleKind::Bitmap), bitmaps) << "the DC took its bitmap with it";
  EXPECT_EQ(LiveHandleCount(HandleKind::DC), dcs);
  EXPECT_FALSE(DeleteObject(bm)) << "already gone";
  EXPECT_FALSE(DeleteDC(mem));
  BITMAP info{};
  EXPECT_EQ(GetObjectA(placeholder, sizeof info, &info), static_cast<int>(sizeof info)) << "stock survives";

  // A bitmap swapped out again is the caller's to delete.
  HDC mem2 = CreateCompatibleDC(display);
  HBITMAP bm2 = CreateCompatibleBitmap(display, 2, 2);
  HGDIOBJ ph = SelectObject(mem2, bm2);
  HDC holder = CreateCompatibleDC(display);  // also holds the placeholder
  EXPECT_EQ(SelectObject(mem2, ph), bm2) << "the placeholder goes back even while another DC holds it";
  DeleteDC(holder);
  EXPECT_TRUE(DeleteDC(mem2));
  EXPECT_TRUE(DeleteObject(bm2));
  EXPECT_EQ(LiveHandleCount(HandleKind::Bitmap), bitmaps);
  DeleteDC(display);
}

TEST(Ownership, SelectedBrushesAndPensCannotBeDeletedUntilDeselected) {
  const auto brushes = LiveHandleCount(HandleKind::Brush);
  HDC dc = CreateCompatibleDC(nullptr);
  HBRUSH b = CreateSolidBrush(RGB(1, 2, 3));
  HGDIOBJ old = SelectObject(dc, b);
  EXPECT_EQ(old, GetStockObject(WHITE_BRUSH)) << "a new DC holds the white brush";
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), b);
  EXPECT_FALSE(DeleteObject(b));
  EXPECT_EQ(SelectObject(dc, old), b);
  EXPECT_TRUE(DeleteObject(b));
  EXPECT_EQ(LiveHandleCount(HandleKind::Brush), brushes);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
  DeleteDC(dc);
}

TEST(Handles, StaleAndMistypedHandlesFailCleanly) {
  HDC dc = gdi_test::ColorCanvas(2, 2);
  HBRUSH b = CreateSolidBrush(RGB(1, 1, 1));
  HPEN p = CreatePen(PS_SOLID, 1, RGB(1, 1, 1));
  EXPECT_TRUE(DeleteObject(b));
  EXPECT_FALSE(DeleteObject(b));
  EXPECT_EQ(SelectObject(dc, b), nullptr);
  RECT r{0, 0, 2, 2};
  EXPECT_EQ(FillRect(dc, &r, b), 0);
  EXPECT_EQ(FillRect(dc, &r, reinterpret_cast<HBRUSH>(p)), 0) << "a pen is not a brush";
  EXPECT_EQ(SelectObject(dc, reinterpret_cast<HGDIOBJ>(dc)), nullptr) << "a DC is not selectable";
  EXPECT_EQ(SelectObject(reinterpret_cast<HDC>(p), GetStockObject(BLACK_BRUSH)), nullptr);
  EXPECT_EQ(GetObjectA(b, sizeof(LOGBRUSH), nullptr), 0);
  EXPECT_EQ(GetObjectType(b), 0u);
  EXPECT_EQ(GetObjectType(p), static_cast<DWORD>(OBJ_PEN));
  EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_MEMDC));
  EXPECT_TRUE(DeleteObject(p));
  EXPECT_TRUE(DeleteDC(dc));
  // Everything on a dead DC answers with its failure value.
  EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
  EXPECT_EQ(SetPixel(dc, 0, 0, 0), CLR_INVALID);
  EXPECT_EQ(SetTextColor(dc, 0), CLR_INVALID);
  EXPECT_EQ(GetBkColor(dc), CLR_INVALID);
  EXPECT_EQ(SetBkMode(dc, OPAQUE), 0);
  EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 0);
  EXPECT_FALSE(BitBlt(dc, 0, 0, 1, 1, nullptr, 0, 0, BLACKNESS));
  EXPECT_FALSE(MoveToEx(dc, 1, 1, nullptr));
  EXPECT_EQ(CreateCompatibleBitmap(dc, 4, 4), nullptr);
  EXPECT_EQ(CreateCompatibleDC(dc), nullptr);
  EXPECT_EQ(SelectClipRgn(dc, nullptr), ERROR);
  EXPECT_FALSE(DeleteDC(dc));
  EXPECT_FALSE(DeleteObject(nullptr));
  EXPECT_EQ(CreateDCA("PRINTER", nullptr, nullptr, nullptr), nullptr);
}

TEST(Handles, StockObjectsSurviveDeleteObject) {
  for (int i : {WHITE_BRUSH, LTGRAY_BRUSH, GRAY_BRUSH, DKGRAY_BRUSH, BLACK_BRUSH, NULL_BRUSH, WHITE_PEN,
                BLACK_PEN, NULL_PEN, DEFAULT_GUI_FONT, SYSTEM_FONT}) {
    HGDIOBJ h = GetStockObject(i);
    ASSERT_NE(h, nullptr) << i;
    EXPECT_TRUE(DeleteObject(h));
    EXPECT_EQ(GetStockObject(i), h);
    EXPECT_NE(GetObjectA(h, 0, nullptr), 0) << "still alive: " << i;
  }
  LOGBRUSH lb{};
  ASSERT_EQ(GetObjectA(GetStockObject(GRAY_BRUSH), sizeof lb, &lb), static_cast<int>(sizeof lb));
  EXPECT_EQ(lb.lbColor, RGB(128, 128, 128));
  EXPECT_EQ(HOLLOW_BRUSH, NULL_BRUSH);
  EXPECT_EQ(GetStockObject(-1), nullptr);
  EXPECT_EQ(GetStockObject(9), nullptr);
  // Fonts go in and out of a DC like any object.
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  EXPECT_EQ(oldFont, GetStockObject(SYSTEM_FONT));
  EXPECT_EQ(SelectObject(dc, oldFont), GetStockObject(DEFAULT_GUI_FONT));
  DeleteDC(dc);
}

TEST(DcState, AttributesSaveRestoreAndClipSelection) {
  HDC dc = gdi_test::ColorCanvas(10, 10);
  EXPECT_EQ(GetBkMode(dc), OPAQUE);
  EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
  EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
  EXPECT_EQ(GetROP2(dc), R2_COPYPEN);
  EXPECT_EQ(SetTextColor(dc, RGB(1, 2, 3)), RGB(0, 0, 0));
  EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
  EXPECT_EQ(SetBkMode(dc, 7), 0) << "unknown mode refused";
  EXPECT_EQ(SetROP2(dc, R2_XORPEN), R2_COPYPEN);
  EXPECT_NE(SetStretchBltMode(dc, HALFTONE), 0);
  EXPECT_EQ(SetTextAlign(dc, TA_CENTER), 0u);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 96);
  EXPECT_EQ(GetDeviceCaps(dc, PLANES), 1);
  platform::gdi::SetDisplaySize(800, 600);
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 800) << "the screen, not the bitmap";
  EXPECT_EQ(GetDeviceCaps(dc, VERTRES), 600);

  int level = SaveDC(dc);
  EXPECT_EQ(level, 1);
  SetTextColor(dc, RGB(9, 9, 9));
  IntersectClipRect(dc, 2, 2, 5, 5);
  RECT box;
  EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
  EXPECT_EQ(box.left, 2);
  EXPECT_EQ(box.right, 5);
  EXPECT_EQ(ExcludeClipRect(dc, 3, 3, 4, 4), COMPLEXREGION);
  EXPECT_FALSE(PtVisible(dc, 3, 3));
  EXPECT_TRUE(PtVisible(dc, 2, 3));
  EXPECT_TRUE(RestoreDC(dc, -1));
  EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
  EXPECT_TRUE(PtVisible(dc, 3, 3));
  EXPECT_FALSE(RestoreDC(dc, 1)) << "nothing saved any more";

  // Selecting a region handle works like SelectClipRgn and reports its type.
  HRGN rgn = CreateRectRgn(0, 0, 4, 4);
  EXPECT_EQ(reinterpret_cast<std::intptr_t>(SelectObject(dc, rgn)), SIMPLEREGION);
  HRGN copy = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetClipRgn(dc, copy), 1);
  EXPECT_TRUE(EqualRgn(copy, rgn));
  EXPECT_EQ(ExtSelectClipRgn(dc, nullptr, RGN_COPY), SIMPLEREGION);
  EXPECT_EQ(GetClipRgn(dc, copy), 0);
  EXPECT_EQ(ExtSelectClipRgn(dc, nullptr, RGN_AND), ERROR);
  DeleteObject(rgn);
  DeleteObject(copy);
  DeleteDC(dc);
}

TEST(Colours, ClassicSystemColoursAndTranslation) {
  EXPECT_EQ(GetSysColor(COLOR_3DFACE), RGB(212, 208, 200));
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
  EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), RGB(0, 0, 0));
  EXPECT_EQ(GetSysColor(COLOR_3DSHADOW), RGB(128, 128, 128));
  EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), RGB(64, 64, 64));
  EXPECT_EQ(GetSysColor(COLOR_3DHILIGHT), RGB(255, 255, 255));
  EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), RGB(10, 36, 106));
  EXPECT_EQ(GetSysColor(COLOR_GRAYTEXT), RGB(128, 128, 128));
  EXPECT_EQ(GetSysColor(COLOR_ACTIVECAPTION), RGB(10, 36, 106));
  EXPECT_EQ(GetSysColor(COLOR_BTNTEXT), RGB(0, 0, 0));

  COLORREF out = 1;
  EXPECT_EQ(OleTranslateColor(0x80000000 | COLOR_BTNFACE, nullptr, &out), S_OK);
  EXPECT_EQ(out, RGB(212, 208, 200));
  EXPECT_EQ(OleTranslateColor(RGB(255, 0, 255), nullptr, &out), S_OK);
  EXPECT_EQ(out, RGB(255, 0, 255));
  EXPECT_EQ(OleTranslateColor(0x80000000 | 200, nullptr, &out), E_INVALIDARG);
  EXPECT_EQ(OleTranslateColor(0x05000000, nullptr, &out), E_INVALIDARG);
  HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  HPALETTE pal = CreateHalftonePalette(display);
  ASSERT_NE(pal, nullptr);
  EXPECT_EQ(GetPaletteEntries(pal, 0, 0, nullptr), 256u);
  EXPECT_EQ(OleTranslateColor(0x80000000 | COLOR_HIGHLIGHT, pal, &out), S_OK);
  EXPECT_EQ(out, RGB(10, 36, 106));

  // Palettes go in and out of DCs and never change a colour.
  HDC dc = gdi_test::ColorCanvas(1, 1);
  HPALETTE oldPal = SelectPalette(dc, pal, TRUE);
  ASSERT_NE(oldPal, nullptr);
  EXPECT_NE(RealizePalette(dc), GDI_ERROR);
  EXPECT_EQ(SetPixel(dc, 0, 0, RGB(123, 45, 67)), RGB(123, 45, 67));
  EXPECT_FALSE(DeleteObject(pal)) << "still selected";
  SelectPalette(dc, oldPal, FALSE);
  EXPECT_TRUE(DeleteObject(pal));
  DeleteDC(dc);
  DeleteDC(display);
}

TEST(RectHelpers, WinRules) {
  RECT a, b{5, 5, 15, 15}, out;
  SetRect(&a, 0, 0, 10, 10);
  EXPECT_TRUE(IntersectRect(&out, &a, &b));
  const RECT overlap{5, 5, 10, 10};
  EXPECT_TRUE(EqualRect(&out, &overlap));
  RECT far{20, 20, 30, 30};
  EXPECT_FALSE(IntersectRect(&out, &a, &far));
  EXPECT_TRUE(IsRectEmpty(&out));
  EXPECT_EQ(out.left, 0) << "an empty intersection is all zeros";
  EXPECT_TRUE(UnionRect(&out, &a, &far));
  EXPECT_EQ(out.right, 30);
  RECT empty{3, 3, 3, 9};
  EXPECT_TRUE(UnionRect(&out, &a, &empty));
  EXPECT_TRUE(EqualRect(&out, &a)) << "empty rectangles do not widen a union";
  EXPECT_TRUE(PtInRect(&a, POINT{0, 9}));
  EXPECT_FALSE(PtInRect(&a, POINT{10, 5})) << "right edge is outside";
  InflateRect(&a, 2, -1);
  EXPECT_EQ(a.left, -2);
  EXPECT_EQ(a.bottom, 9);
  OffsetRect(&a, 2147483647, 0);
  EXPECT_EQ(a.right, 2147483647) << "saturates instead of wrapping";
  RECT whole{0, 0, 10, 10}, top{0, 0, 10, 4};
  EXPECT_TRUE(SubtractRect(&out, &whole, &top));
  EXPECT_EQ(out.top, 4);
  RECT middle{3, 3, 6, 6};
  EXPECT_TRUE(SubtractRect(&out, &whole, &middle));
  EXPECT_TRUE(EqualRect(&out, &whole)) << "a hole cannot be expressed: unchanged";
  SetRectEmpty(&out);
  EXPECT_TRUE(IsRectEmpty(&out));
  CopyRect(&out, &b);
  EXPECT_TRUE(EqualRect(&out, &b));
  EXPECT_FALSE(SetRect(nullptr, 0, 0, 1, 1));
}

}  // namespace
