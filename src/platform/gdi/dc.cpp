// Device contexts: creation and deletion, device capabilities, the saved
// state stack, simple attributes, the viewport origin and clipping.
#include <strings.h>
#include <algorithm>
#include <cstring>

#include <cstdint>
#include <utility>

#include "platform/gdi/display.h"
#include "platform/gdi/font_object.h"
#include "platform/gdi/gdi_objects.h"

namespace platform::gdi {
namespace {

int g_displayWidth = kHeadlessScreenWidth;
int g_displayHeight = kHeadlessScreenHeight;

int ClipType(const DcObject& dc) { return RegionType(dc.effClip); }

// The whole drawable area of a DC in device coordinates: what "no clip
// region" stands for when a region is combined with the current clip.
Region DeviceArea(const DcObject& dc) {
  Region r;
  if (dc.target) r = Region(RECT{0, 0, dc.target->width, dc.target->height});
  r.Offset(-dc.origin.x, -dc.origin.y);
  return r;
}

int CombineClip(HDC hdc, const Region& rgn, int mode) {
  DcObject* dc = LookupDc(hdc);
  if (!dc) return ERROR;
  Region current = dc->st.clip ? *dc->st.clip : DeviceArea(*dc);
  switch (mode) {
    case RGN_COPY:
      dc->st.clip = rgn;
      break;
    case RGN_AND:
      dc->st.clip = current.Intersect(rgn);
      break;
    case RGN_OR:
      dc->st.clip = current.Union(rgn);
      break;
    case RGN_XOR:
      dc->st.clip = current.Xor(rgn);
      break;
    case RGN_DIFF:
      dc->st.clip = current.Subtract(rgn);
      break;
    default:
      return ERROR;
  }
  UpdateEffectiveClip(*dc);
  return ClipType(*dc);
}

Region LogicalRect(const DcObject& dc, int l, int t, int r, int b) {
  std::int64_t vx = dc.st.viewportOrg.x, vy = dc.st.viewportOrg.y;
  auto clamp = [](std::int64_t v) {
    return static_cast<LONG>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
  };
  return Region(RECT{clamp(std::min(l, r) + vx), clamp(std::min(t, b) + vy), clamp(std::max(l, r) + vx),
                     clamp(std::max(t, b) + vy)});
}

}  // namespace

void SetDisplaySize(int width, int height) {
  g_displayWidth = std::max(width, 1);
  g_displayHeight = std::max(height, 1);
}
int DisplayWidth() { return g_displayWidth; }
int DisplayHeight() { return g_displayHeight; }

int RegionType(const Region& r) {
  if (r.IsEmpty()) return NULLREGION;
  return r.Rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

HDC RegisterNewDc(std::unique_ptr<DcObject> dc) {
  dc->st.brush = static_cast<HBRUSH>(StockObjectRaw(WHITE_BRUSH));
  dc->st.pen = static_cast<HPEN>(StockObjectRaw(BLACK_PEN));
  dc->st.font = StockFont(SYSTEM_FONT);
  dc->st.palette = DefaultPalette();
  UpdateEffectiveClip(*dc);
  DcObject* raw = dc.get();
  HDC h = static_cast<HDC>(AllocHandle(HandleKind::DC, std::move(dc)));
  if (h) RegisterDc(raw);
  return h;
}

int SelectClipRegionOf(HDC hdc, const Region* rgn) {
  DcObject* dc = LookupDc(hdc);
  if (!dc) return ERROR;
  if (rgn) {
    dc->st.clip = *rgn;
  } else {
    dc->st.clip.reset();
  }
  UpdateEffectiveClip(*dc);
  return ClipType(*dc);
}

}  // namespace platform::gdi

using namespace platform;
using namespace platform::gdi;

HDC WINAPI CreateCompatibleDC(HDC hdc) {
  if (hdc && !LookupDc(hdc)) return nullptr;
  auto dc = std::make_unique<DcObject>();
  dc->kind = DcKind::Memory;
  dc->bitmap = StockBitmap();
  BitmapObject* bm = LookupBitmap(dc->bitmap);
  dc->target = bm->pixels;
  dc->mono = true;
  return RegisterNewDc(std::move(dc));
}

// A display DC is a 32-bit reference for compatible DCs and bitmaps. Each
// top-level window has its own surface, so there is no single screen buffer
// behind it: drawing on a display DC is clipped away entirely and reading
// from it fails.
HDC WINAPI CreateDCA(LPCSTR pwszDriver, LPCSTR, LPCSTR, const void*) {
  if (!pwszDriver || strcasecmp(pwszDriver, "DISPLAY") != 0) return nullptr;
  auto dc = std::make_unique<DcObject>();
  dc->kind = DcKind::Display;
  return RegisterNewDc(std::move(dc));
}

BOOL WINAPI DeleteDC(HDC hdc) {
  DcObject* dc = LookupDc(hdc);
  if (!dc) return FALSE;
  UnregisterDc(dc);
  HBITMAP owned = dc->kind == DcKind::Memory && dc->bitmap != StockBitmap() ? dc->bitmap : nullptr;
  auto obj = ReleaseHandle(hdc);
  // The DC owns the bitmap it holds: releasing one releases the other.
  if (owned) ReleaseHandle(owned);
  return TRUE;
}

int WINAPI GetDeviceCaps(HDC hdc, int index) {
  DcObject* dc = LookupDc(hdc);
  if (!dc) return 0;
  switch (index) {
    case TECHNOLOGY:
      return DT_RASDISPLAY;
    // Every DC here is a display-compatible one, and Win32 reports the
    // screen for all of them, whatever bitmap a memory DC holds.
    case HORZRES:
      return DisplayWidth();
    case VERTRES:
      return DisplayHeight();
    case HORZSIZE:
      return (GetDeviceCaps(hdc, HORZRES) * 254 + 480) / 960;
    case VERTSIZE:
      return (GetDeviceCaps(hdc, VERTRES) * 254 + 480) / 960;
    case BITSPIXEL:
      return dc->mono ? 1 : 32;
    case PLANES:
      return 1;
    case NUMCOLORS:
      return dc->mono ? 2 : -1;
    case LOGPIXELSX:
    case LOGPIXELSY:
      return 96;
    case RASTERCAPS:
      return RC_BITBLT | RC_STRETCHBLT;
    case SIZEPALETTE:
      return 0;
    default:
      return 0;
  }
}

int WINAPI SaveDC(HDC hdc) {
  DcObject* dc = LookupDc(hdc);
  if (!dc) return 0;
  dc->saved.push_back(dc->st);
  return static_cast<int>(dc->saved.size());
}

BOOL WINAPI RestoreDC(HDC hdc, int nSavedDC) {
  DcObject* dc = LookupDc(hdc);
  if (!dc) return FALSE;
  int depth = static_cast<int>(dc->saved.size());
  int level = nSavedDC < 0 ? depth + 1 + nSavedDC : nSavedDC;
  if (level < 1 || level > depth) return FALSE;
  dc->st = dc->saved[static_cast<std::size_t>(level - 1)];
  dc->saved.resize(static_cast<std::size_t>(level - 1));
  UpdateEffectiveClip(*dc);
  return TRUE;
}

#define HWF_DC_ATTRIBUTE(Type, Setter, Getter, field, invalid) \
  Type WINAPI Setter(HDC hdc, Type value) {                    \
    DcObject* dc = LookupDc(hdc);                              \
    if (!dc) return invalid;                                   \
    Type old = dc->st.field;                                   \
    dc->st.field = value;                                      \
    return old;                                                \
  }                                                            \
  Type WINAPI Getter(HDC hdc) {                                \
    DcObject* dc = LookupDc(hdc);                              \
    return dc ? dc->st.field : invalid;                        \
  }

HWF_DC_ATTRIBUTE(COLORREF, SetTextColor, GetTextColor, textColor, CLR_INVALID)
HWF_DC_ATTRIBUTE(COLORREF, SetBkColor, GetBkColor, bkColor, CLR_INVALID)
HWF_DC_ATTRIBUTE(COLORREF, SetDCBrushColor, GetDCBrushColor, dcBrushColor, CLR_INVALID)
HWF_DC_ATTRIBUTE(COLORREF, SetDCPenColor, GetDCPenColor, dcPenColor, CLR_INVALID)
HWF_DC_ATTRIBUTE(UINT, SetTextAlign, GetTextAlign, textAlign, GDI_ERROR)
#undef HWF_DC_ATTRIBUTE

int WINAPI SetBkMode(HDC hdc, int mode) {
  DcObject* dc = LookupDc(hdc);
  if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  return std::exchange(dc->st.bkMode, mode);
}
int WINAPI GetBkMode(HDC hdc) {
  DcObject* dc = LookupDc(hdc);
  return dc ? dc->st.bkMode : 0;
}
int WINAPI SetROP2(HDC hdc, int rop2) {
  DcObject* dc = LookupDc(hdc);
  if (!dc || rop2 < R2_BLACK || rop2 > R2_WHITE) return 0;
  return std::exchange(dc->st.rop2, rop2);
}
int WINAPI GetROP2(HDC hdc) {
  DcObject* dc = LookupDc(hdc);
  return dc ? dc->st.rop2 : 0;
}
// Every stretch mode is accepted and remembered; copies always take the
// nearest source pixel.
int WINAPI SetStretchBltMode(HDC hdc, int mode) {
  DcObject* dc = LookupDc(hdc);
  if (!dc || mode < BLACKONWHITE || mode > HALFTONE) return 0;
  return std::exchange(dc->st.stretchMode, mode);
}
int WINAPI GetStretchBltMode(HDC hdc) {
  DcObject* dc = LookupDc(hdc);
  return dc ? dc->st.stretchMode : 0;
}

BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT lppt) {
  DcObject* dc = LookupDc(hdc);
  if (!dc) return FALSE;
  if (lppt) *lppt = dc->st.pos;
  dc->st.pos = POINT{x, y};
  return TRUE;
}
BOOL WINAPI GetCurrentPositionEx(HDC hdc, LPPOINT lppt) {
  DcObject* dc = LookupDc(hdc);
  if (!dc || !lppt) return FALSE;
  *lppt = dc->st.pos;
  return TRUE;
}

BOOL WINAPI SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
  DcObject* dc = LookupDc(hdc);
  if (!dc) return FALSE;
  if (lppt) *lppt = dc->st.viewportOrg;
  dc->st.viewportOrg = POINT{x, y};
  return TRUE;
}
BOOL WINAPI GetViewportOrgEx(HDC hdc, LPPOINT lppt) {
  DcObject* dc = LookupDc(hdc);
  if (!dc || !lppt) return FALSE;
  *lppt = dc->st.viewportOrg;
  return TRUE;
}
BOOL WINAPI OffsetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
  DcObject* dc = LookupDc(hdc);
  if (!dc) return FALSE;
  POINT old = dc->st.viewportOrg;
  auto add = [](LONG a, int b) {
    return static_cast<LONG>(std::clamp<std::int64_t>(std::int64_t{a} + b, INT32_MIN, INT32_MAX));
  };
  return SetViewportOrgEx(hdc, add(old.x, x), add(old.y, y), lppt);
}

int WINAPI SelectClipRgn(HDC hdc, HRGN hrgn) {
  if (!hrgn) return SelectClipRegionOf(hdc, nullptr);
  RegionObject* r = LookupRegion(hrgn);
  if (!r) return ERROR;
  return SelectClipRegionOf(hdc, &r->region);
}

int WINAPI ExtSelectClipRgn(HDC hdc, HRGN hrgn, int mode) {
  if (!hrgn) return mode == RGN_COPY ? SelectClipRegionOf(hdc, nullptr) : ERROR;
  RegionObject* r = LookupRegion(hrgn);
  if (!r) return ERROR;
  return CombineClip(hdc, r->region, mode);
}

int WINAPI IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
  DcObject* dc = LookupDc(hdc);
  if (!dc) return ERROR;
  return CombineClip(hdc, LogicalRect(*dc, left, top, right, bottom), RGN_AND);
}

int WINAPI ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) {
  DcObject* dc = LookupDc(hdc);
  if (!dc) return ERROR;
  return CombineClip(hdc, LogicalRect(*dc, left, top, right, bottom), RGN_DIFF);
}

int WINAPI GetClipBox(HDC hdc, LPRECT lprect) {
  DcObject* dc = LookupDc(hdc);
  if (!dc || !lprect) return ERROR;
  if (dc->effClip.IsEmpty()) {
    *lprect = RECT{0, 0, 0, 0};
    return NULLREGION;
  }
  std::int64_t dx = std::int64_t{dc->origin.x} + dc->st.viewportOrg.x;
  std::int64_t dy = std::int64_t{dc->origin.y} + dc->st.viewportOrg.y;
  auto c = [](std::int64_t v) {
    return static_cast<LONG>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
  };
  *lprect = RECT{c(dc->effBox.left - dx), c(dc->effBox.top - dy), c(dc->effBox.right - dx),
                 c(dc->effBox.bottom - dy)};
  return ClipType(*dc);
}

int WINAPI GetClipRgn(HDC hdc, HRGN hrgn) {
  DcObject* dc = LookupDc(hdc);
  RegionObject* r = LookupRegion(hrgn);
  if (!dc || !r) return -1;
  if (!dc->st.clip) return 0;
  r->region = *dc->st.clip;
  return 1;
}

BOOL WINAPI PtVisible(HDC hdc, int x, int y) {
  DcObject* dc = LookupDc(hdc);
  if (!dc) return FALSE;
  std::int64_t bx = BufX(*dc, x), by = BufY(*dc, y);
  if (bx < dc->effBox.left || bx >= dc->effBox.right || by < dc->effBox.top || by >= dc->effBox.bottom) {
    return FALSE;
  }
  return dc->effClip.Contains(static_cast<int>(bx), static_cast<int>(by)) ? TRUE : FALSE;
}
