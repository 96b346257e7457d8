// Pixels and filled shapes: SetPixel/GetPixel, FillRect, FrameRect,
// InvertRect, DrawFocusRect, PatBlt, Rectangle, Ellipse.
#include <algorithm>
#include <cmath>

#include "platform/gdi/raster.h"

namespace platform::gdi {

// FillRect and FrameRect take either a brush or COLOR_x + 1.
BrushObject* ResolveBrush(HBRUSH hbr) {
  auto value = reinterpret_cast<std::uintptr_t>(hbr);
  if (value >= 1 && value <= COLOR_MENUBAR + 1) {
    return LookupBrush(GetSysColorBrush(static_cast<int>(value - 1)));
  }
  return LookupBrush(hbr);
}

namespace {

void FillLogical(DcObject& dc, std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b,
                 std::uint32_t px, std::uint8_t idx) {
  FillOp(dc, BufX(dc, l), BufY(dc, t), BufX(dc, r), BufY(dc, b), px, idx);
}

// Horizontal spans of the ellipse inscribed in [l, r) x [t, b): a pixel is
// inside when its centre is inside the ellipse. Calls span(y, x0, x1).
template <class Fn>
void EllipseSpans(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, Fn&& span) {
  double a = (r - l) / 2.0, c = (b - t) / 2.0;
  double cx = l + a, cy = t + c;
  for (std::int64_t y = t; y < b; ++y) {
    double dy = (y + 0.5 - cy) / c;
    double q = 1.0 - dy * dy;
    if (q < 0) continue;
    double half = a * std::sqrt(q);
    auto x0 = static_cast<std::int64_t>(std::ceil(cx - half - 0.5));
    auto x1 = static_cast<std::int64_t>(std::floor(cx + half - 0.5)) + 1;
    if (x1 > x0) span(y, x0, x1);
  }
}

}  // namespace
}  // namespace platform::gdi

using namespace platform;
using namespace platform::gdi;

// SetPixel ignores the binary raster operation and reports the colour the
// pixel really got (black or white on a monochrome bitmap), or -1 when the
// point is clipped away.
COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color) {
  DcObject* dc = LookupDc(hdc);
  if (!dc) return CLR_INVALID;
  std::uint32_t px = DevicePixel(*dc, color);
  if (!PlotOp(*dc, BufX(*dc, x), BufY(*dc, y), px, 0xF0)) return CLR_INVALID;
  return ToColorRef(px);
}

BOOL WINAPI SetPixelV(HDC hdc, int x, int y, COLORREF color) {
  return SetPixel(hdc, x, y, color) != CLR_INVALID ? TRUE : FALSE;
}

COLORREF WINAPI GetPixel(HDC hdc, int x, int y) {
  DcObject* dc = LookupDc(hdc);
  if (!dc || !dc->target) return CLR_INVALID;
  std::int64_t bx = BufX(*dc, x), by = BufY(*dc, y);
  if (bx < dc->effBox.left || bx >= dc->effBox.right || by < dc->effBox.top || by >= dc->effBox.bottom) {
    return CLR_INVALID;
  }
  if (!dc->effClip.Contains(static_cast<int>(bx), static_cast<int>(by))) return CLR_INVALID;
  return ToColorRef(dc->target->row(static_cast<int>(by))[bx]);
}

int WINAPI FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
  DcObject* dc = LookupDc(hDC);
  BrushObject* b = ResolveBrush(hbr);
  if (!dc || !lprc || !b) return 0;
  if (!b->null) {
    FillLogical(*dc, lprc->left, lprc->top, lprc->right, lprc->bottom, DevicePixel(*dc, BrushColor(*dc, *b)),
                0xF0);
  }
  return 1;
}

// A one-pixel border along the inside of the rectangle.
int WINAPI FrameRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
  DcObject* dc = LookupDc(hDC);
  BrushObject* b = ResolveBrush(hbr);
  if (!dc || !lprc || !b) return 0;
  std::int64_t l = lprc->left, t = lprc->top, r = lprc->right, btm = lprc->bottom;
  if (r <= l || btm <= t) return 1;
  if (b->null) return 1;
  std::uint32_t px = DevicePixel(*dc, BrushColor(*dc, *b));
  FillLogical(*dc, l, t, r, t + 1, px, 0xF0);
  FillLogical(*dc, l, btm - 1, r, btm, px, 0xF0);
  FillLogical(*dc, l, t + 1, l + 1, btm - 1, px, 0xF0);
  FillLogical(*dc, r - 1, t + 1, r, btm - 1, px, 0xF0);
  return 1;
}

BOOL WINAPI InvertRect(HDC hDC, const RECT* lprc) {
  DcObject* dc = LookupDc(hDC);
  if (!dc || !lprc) return FALSE;
  FillLogical(*dc, lprc->left, lprc->top, lprc->right, lprc->bottom, 0, 0x55);
  return TRUE;
}

// The focus rectangle inverts every other pixel of a one-pixel border: the
// pixels whose device x + y is even. Each border pixel is visited once, so
// drawing the rectangle a second time restores what was there.
BOOL WINAPI DrawFocusRect(HDC hDC, const RECT* lprc) {
  DcObject* dc = LookupDc(hDC);
  if (!dc || !lprc) return FALSE;
  std::int64_t l = lprc->left, t = lprc->top, r = lprc->right, b = lprc->bottom;
  if (r <= l || b <= t || !dc->target) return TRUE;
  std::int64_t dx = dc->st.viewportOrg.x, dy = dc->st.viewportOrg.y;
  auto plot = [&](std::int64_t x, std::int64_t y) {
    if (((x + dx + y + dy) & 1) == 0) PlotOp(*dc, BufX(*dc, x), BufY(*dc, y), 0, 0x55);
  };
  // Only the part of the border that can land in the clip box is walked.
  std::int64_t bl = dc->effBox.left - dc->origin.x - dx - 1, br = dc->effBox.right - dc->origin.x - dx + 1;
  std::int64_t bt = dc->effBox.top - dc->origin.y - dy - 1, bb = dc->effBox.bottom - dc->origin.y - dy + 1;
  for (std::int64_t x = std::max(l, bl); x < std::min(r, br); ++x) {
    plot(x, t);
    if (b - 1 > t) plot(x, b - 1);
  }
  for (std::int64_t y = std::max(t + 1, bt); y < std::min(b - 1, bb); ++y) {
    plot(l, y);
    if (r - 1 > l) plot(r - 1, y);
  }
  return TRUE;
}

BOOL WINAPI PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop) {
  DcObject* dc = LookupDc(hdc);
  if (!dc) return FALSE;
  std::uint8_t idx = RopIndex(rop);
  if (RopUsesSource(idx)) return FALSE;
  std::uint32_t pattern = 0;
  if (RopUsesPattern(idx)) {
    BrushObject* b = LookupBrush(dc->st.brush);
    if (!b || b->null) return TRUE;
    pattern = DevicePixel(*dc, BrushColor(*dc, *b));
  }
  std::int64_t x0 = x, y0 = y, x1 = std::int64_t{x} + w, y1 = std::int64_t{y} + h;
  FillLogical(*dc, std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1), pattern, idx);
  return TRUE;
}

// Outline with the pen on the edge pixels, interior with the brush, right
// and bottom exclusive. With a null pen there is no outline and the filled
// area is one pixel narrower and shorter, as in Win32.
BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  DcObject* dc = LookupDc(hdc);
  if (!dc) return FALSE;
  std::int64_t l = std::min(left, right), r = std::max(left, right);
  std::int64_t t = std::min(top, bottom), b = std::max(top, bottom);
  PenObject* pen = LookupPen(dc->st.pen);
  BrushObject* brush = LookupBrush(dc->st.brush);
  std::uint8_t idx = Rop2ToRop3(dc->st.rop2);
  bool outline = pen && pen->style != PS_NULL;
  if (!outline) {
    r -= 1;
    b -= 1;
  }
  if (r <= l || b <= t) return TRUE;
  std::int64_t pw = outline ? std::max(pen->width, 1) : 0;
  if (brush && !brush->null) {
    FillLogical(*dc, l + pw, t + pw, r - pw, b - pw, DevicePixel(*dc, BrushColor(*dc, *brush)), idx);
  }
  if (outline) {
    std::uint32_t px = DevicePixel(*dc, PenColor(*dc, *pen));
    pw = std::min({pw, (r - l + 1) / 2, (b - t + 1) / 2});
    FillLogical(*dc, l, t, r, t + pw, px, idx);
    FillLogical(*dc, l, b - pw, r, b, px, idx);
    FillLogical(*dc, l, t + pw, l + pw, b - pw, px, idx);
    FillLogical(*dc, r - pw, t + pw, r, b - pw, px, idx);
  }
  return TRUE;
}

// The brush fills the inscribed ellipse; a visible pen draws its one-pixel
// (or pen-width) rim in the pen colour.
BOOL WINAPI Ellipse(HDC hdc, int left, int top, int right, int bottom) {
  DcObject* dc = LookupDc(hdc);
  if (!dc) return FALSE;
  std::int64_t l = std::min(left, right), r = std::max(left, right);
  std::int64_t t = std::min(top, bottom), b = std::max(top, bottom);
  if (r <= l || b <= t) return TRUE;
  // Refused rather than walked: no window is this large.
  if (r - l > (1 << 20) || b - t > (1 << 20)) return FALSE;
  PenObject* pen = LookupPen(dc->st.pen);
  BrushObject* brush = LookupBrush(dc->st.brush);
  std::uint8_t idx = Rop2ToRop3(dc->st.rop2);
  bool outline = pen && pen->style != PS_NULL;
  std::int64_t pw = outline ? std::max(pen->width, 1) : 0;
  std::uint32_t penPx = outline ? DevicePixel(*dc, PenColor(*dc, *pen)) : 0;
  bool fill = brush && !brush->null;
  std::uint32_t brushPx = fill ? DevicePixel(*dc, BrushColor(*dc, *brush)) : 0;
  // Rim = outer ellipse minus the ellipse inset by the pen width.
  std::vector<std::pair<std::int64_t, std::int64_t>> inner(static_cast<std::size_t>(b - t), {0, 0});
  if (r - l > 2 * pw && b - t > 2 * pw) {
    EllipseSpans(l + pw, t + pw, r - pw, b - pw, [&](std::int64_t y, std::int64_t x0, std::int64_t x1) {
      inner[static_cast<std::size_t>(y - t)] = {x0, x1};
    });
  }
  EllipseSpans(l, t, r, b, [&](std::int64_t y, std::int64_t x0, std::int64_t x1) {
    auto [i0, i1] = inner[static_cast<std::size_t>(y - t)];
    if (i1 <= i0) {
      if (outline)
        FillLogical(*dc, x0, y, x1, y + 1, penPx, idx);
      else if (fill)
        FillLogical(*dc, x0, y, x1, y + 1, brushPx, idx);
      return;
    }
    if (fill) FillLogical(*dc, i0, y, i1, y + 1, brushPx, idx);
    std::uint32_t rim = outline ? penPx : brushPx;
    if (outline || fill) {
      FillLogical(*dc, x0, y, i0, y + 1, rim, idx);
      FillLogical(*dc, i1, y, x1, y + 1, rim, idx);
    }
  });
  return TRUE;
}
