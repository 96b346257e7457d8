// HRGN calls: creation, combination, queries, and filling a region on a DC.
#include <algorithm>
#include <cstdint>

#include "platform/gdi/raster.h"
#include "platform/gdi/region_handle.h"

namespace platform::gdi {

const Region* RegionOf(HRGN h) {
  RegionObject* r = LookupRegion(h);
  return r ? &r->region : nullptr;
}

HRGN CreateRegionHandle(const Region& r) {
  auto obj = std::make_unique<RegionObject>();
  obj->region = r;
  return static_cast<HRGN>(AllocHandle(HandleKind::Region, std::move(obj)));
}

BOOL SetRegionOf(HRGN h, const Region& r) {
  RegionObject* obj = LookupRegion(h);
  if (!obj) return FALSE;
  obj->region = r;
  return TRUE;
}

namespace {

// Win32 accepts the corners in either order.
Region NormalizedRect(int x1, int y1, int x2, int y2) {
  return Region(RECT{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)});
}

// Paints every pixel of a logical region with a pattern colour and a
// ternary operation.
BOOL PaintRegion(HDC hdc, HRGN hrgn, const std::uint32_t* pattern, std::uint8_t idx) {
  DcObject* dc = LookupDc(hdc);
  const Region* rgn = RegionOf(hrgn);
  if (!dc || !rgn) return FALSE;
  for (const RECT& r : rgn->Rects()) {
    FillOp(*dc, BufX(*dc, r.left), BufY(*dc, r.top), BufX(*dc, r.right), BufY(*dc, r.bottom),
           pattern ? *pattern : 0, idx);
  }
  return TRUE;
}

}  // namespace
}  // namespace platform::gdi

using namespace platform::gdi;

HRGN WINAPI CreateRectRgn(int x1, int y1, int x2, int y2) {
  return CreateRegionHandle(NormalizedRect(x1, y1, x2, y2));
}

HRGN WINAPI CreateRectRgnIndirect(const RECT* lprect) {
  if (!lprect) return nullptr;
  return CreateRectRgn(lprect->left, lprect->top, lprect->right, lprect->bottom);
}

HRGN WINAPI CreateRoundRectRgn(int x1, int y1, int x2, int y2, int w, int h) {
  return CreateRegionHandle(Region::RoundRect(x1, y1, x2, y2, w, h));
}

// An ellipse is a round rectangle whose corners take the whole box.
HRGN WINAPI CreateEllipticRgn(int x1, int y1, int x2, int y2) {
  std::int64_t w = std::int64_t{x2} - x1, h = std::int64_t{y2} - y1;
  int ew = static_cast<int>(std::min<std::int64_t>(w < 0 ? -w : w, INT32_MAX));
  int eh = static_cast<int>(std::min<std::int64_t>(h < 0 ? -h : h, INT32_MAX));
  return CreateRegionHandle(Region::RoundRect(x1, y1, x2, y2, ew, eh));
}

int WINAPI CombineRgn(HRGN hrgnDst, HRGN hrgnSrc1, HRGN hrgnSrc2, int iMode) {
  RegionObject* dst = LookupRegion(hrgnDst);
  const Region* a = RegionOf(hrgnSrc1);
  if (!dst || !a) return ERROR;
  if (iMode == RGN_COPY) {
    dst->region = *a;
    return RegionType(dst->region);
  }
  const Region* b = RegionOf(hrgnSrc2);
  if (!b) return ERROR;
  switch (iMode) {
    case RGN_AND:
      dst->region = a->Intersect(*b);
      break;
    case RGN_OR:
      dst->region = a->Union(*b);
      break;
    case RGN_XOR:
      dst->region = a->Xor(*b);
      break;
    case RGN_DIFF:
      dst->region = a->Subtract(*b);
      break;
    default:
      return ERROR;
  }
  return RegionType(dst->region);
}

int WINAPI OffsetRgn(HRGN hrgn, int x, int y) {
  RegionObject* r = LookupRegion(hrgn);
  if (!r) return ERROR;
  r->region.Offset(x, y);
  return RegionType(r->region);
}

BOOL WINAPI PtInRegion(HRGN hrgn, int x, int y) {
  const Region* r = RegionOf(hrgn);
  return r && r->Contains(x, y) ? TRUE : FALSE;
}

BOOL WINAPI RectInRegion(HRGN hrgn, const RECT* lprect) {
  const Region* r = RegionOf(hrgn);
  if (!r || !lprect) return FALSE;
  RECT q{std::min(lprect->left, lprect->right), std::min(lprect->top, lprect->bottom),
         std::max(lprect->left, lprect->right), std::max(lprect->top, lprect->bottom)};
  return r->Intersects(q) ? TRUE : FALSE;
}

int WINAPI GetRgnBox(HRGN hrgn, LPRECT lprc) {
  const Region* r = RegionOf(hrgn);
  if (!r || !lprc) return ERROR;
  *lprc = r->Box();
  return RegionType(*r);
}

BOOL WINAPI EqualRgn(HRGN hrgn1, HRGN hrgn2) {
  const Region* a = RegionOf(hrgn1);
  const Region* b = RegionOf(hrgn2);
  if (!a || !b) return FALSE;
  return *a == *b ? TRUE : FALSE;
}

BOOL WINAPI SetRectRgn(HRGN hrgn, int left, int top, int right, int bottom) {
  return SetRegionOf(hrgn, NormalizedRect(left, top, right, bottom));
}

BOOL WINAPI FillRgn(HDC hdc, HRGN hrgn, HBRUSH hbr) {
  DcObject* dc = LookupDc(hdc);
  BrushObject* b = LookupBrush(hbr);
  if (!dc || !b) return FALSE;
  if (b->null) return LookupRegion(hrgn) ? TRUE : FALSE;
  std::uint32_t px = DevicePixel(*dc, BrushColor(*dc, *b));
  return PaintRegion(hdc, hrgn, &px, 0xF0);
}

// The frame is the part of the region that a copy moved by up to w
// horizontally or h vertically would no longer cover.
BOOL WINAPI FrameRgn(HDC hdc, HRGN hrgn, HBRUSH hbr, int w, int h) {
  DcObject* dc = LookupDc(hdc);
  BrushObject* b = LookupBrush(hbr);
  const Region* rgn = RegionOf(hrgn);
  if (!dc || !b || !rgn || w <= 0 || h <= 0) return FALSE;
  if (b->null) return TRUE;
  Region inner = *rgn;
  for (auto [dx, dy] : {std::pair{w, 0}, std::pair{-w, 0}, std::pair{0, h}, std::pair{0, -h}}) {
    Region moved = *rgn;
    moved.Offset(dx, dy);
    inner = inner.Intersect(moved);
  }
  Region frame = rgn->Subtract(inner);
  std::uint32_t px = DevicePixel(*dc, BrushColor(*dc, *b));
  for (const RECT& r : frame.Rects()) {
    FillOp(*dc, BufX(*dc, r.left), BufY(*dc, r.top), BufX(*dc, r.right), BufY(*dc, r.bottom), px, 0xF0);
  }
  return TRUE;
}

BOOL WINAPI InvertRgn(HDC hdc, HRGN hrgn) { return PaintRegion(hdc, hrgn, nullptr, 0x55); }
