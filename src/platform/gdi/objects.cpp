// GDI object handles: lookups, stock objects, brushes and pens, and the
// generic object calls (SelectObject, DeleteObject, GetObjectA,
// GetObjectType, GetCurrentObject).
#include <algorithm>
#include <array>
#include <cstring>

#include "platform/gdi/font_object.h"
#include "platform/gdi/gdi_objects.h"

namespace platform::gdi {

int SelectClipRegionOf(HDC hdc, const Region* rgn);  // dc.cpp

namespace {

struct Stock {
  std::array<HGDIOBJ, 20> objects{};
  HBITMAP bitmap = nullptr;
};

HBRUSH MakeBrush(COLORREF c, bool null, bool stock, bool dcColor = false) {
  auto b = std::make_unique<BrushObject>();
  b->color = c & 0xFFFFFF;
  b->null = null;
  b->stock = stock;
  b->dcColor = dcColor;
  return static_cast<HBRUSH>(stock ? AllocPermanentHandle(HandleKind::Brush, std::move(b))
                                   : AllocHandle(HandleKind::Brush, std::move(b)));
}

HPEN MakePen(int style, int width, COLORREF c, bool stock, bool dcColor = false) {
  auto p = std::make_unique<PenObject>();
  p->style = style;
  p->width = width;
  p->color = c & 0xFFFFFF;
  p->stock = stock;
  p->dcColor = dcColor;
  return static_cast<HPEN>(stock ? AllocPermanentHandle(HandleKind::Pen, std::move(p))
                                 : AllocHandle(HandleKind::Pen, std::move(p)));
}

Stock& stock() {
  static Stock s = [] {
    Stock s;
    s.objects[WHITE_BRUSH] = MakeBrush(RGB(255, 255, 255), false, true);
    s.objects[LTGRAY_BRUSH] = MakeBrush(RGB(192, 192, 192), false, true);
    s.objects[GRAY_BRUSH] = MakeBrush(RGB(128, 128, 128), false, true);
    s.objects[DKGRAY_BRUSH] = MakeBrush(RGB(64, 64, 64), false, true);
    s.objects[BLACK_BRUSH] = MakeBrush(RGB(0, 0, 0), false, true);
    s.objects[NULL_BRUSH] = MakeBrush(0, true, true);
    s.objects[WHITE_PEN] = MakePen(PS_SOLID, 1, RGB(255, 255, 255), true);
    s.objects[BLACK_PEN] = MakePen(PS_SOLID, 1, RGB(0, 0, 0), true);
    s.objects[NULL_PEN] = MakePen(PS_NULL, 1, 0, true);
    s.objects[DC_BRUSH] = MakeBrush(0, false, true, true);
    s.objects[DC_PEN] = MakePen(PS_SOLID, 1, 0, true, true);
    auto pal = std::make_unique<PaletteObject>();
    pal->stock = true;
    // The 20 static colours of the default palette.
    static const BYTE kStatic[20][3] = {{0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},
                                        {0, 0, 128},     {128, 0, 128},   {0, 128, 128},   {192, 192, 192},
                                        {192, 220, 192}, {166, 202, 240}, {255, 251, 240}, {160, 160, 164},
                                        {128, 128, 128}, {255, 0, 0},     {0, 255, 0},     {255, 255, 0},
                                        {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
    for (const auto& c : kStatic) pal->entries.push_back(PALETTEENTRY{c[0], c[1], c[2], 0});
    s.objects[DEFAULT_PALETTE] = AllocPermanentHandle(HandleKind::Palette, std::move(pal));
    auto bm = std::make_unique<BitmapObject>();
    bm->pixels = std::make_shared<PixelBuffer>(1, 1, 0);
    bm->mono = true;
    bm->stock = true;
    s.bitmap = static_cast<HBITMAP>(AllocPermanentHandle(HandleKind::Bitmap, std::move(bm)));
    return s;
  }();
  return s;
}

std::vector<DcObject*>& dcs() {
  static std::vector<DcObject*> v;
  return v;
}

bool IsStock(HGDIOBJ h) {
  if (IsStockFont(h)) return true;
  if (auto* b = LookupBrush(h)) return b->stock;
  if (auto* p = LookupPen(h)) return p->stock;
  if (auto* b = LookupBitmap(h)) return b->stock;
  if (auto* p = LookupPalette(h)) return p->stock;
  return false;
}

bool StateUses(const DcState& s, HGDIOBJ h) {
  return s.brush == h || s.pen == h || s.font == h || s.palette == h;
}

bool InUse(HGDIOBJ h) {
  for (const DcObject* dc : dcs()) {
    if (dc->bitmap == h || StateUses(dc->st, h)) return true;
    for (const DcState& s : dc->saved) {
      if (StateUses(s, h)) return true;
    }
  }
  return false;
}

template <class T>
int CopyOut(const T& value, int c, LPVOID pv) {
  if (!pv) return static_cast<int>(sizeof(T));
  if (c < static_cast<int>(sizeof(T))) return 0;
  std::memcpy(pv, &value, sizeof(T));
  return static_cast<int>(sizeof(T));
}

}  // namespace

DcObject* LookupDc(HDC h) { return Lookup<DcObject>(h, HandleKind::DC); }
BitmapObject* LookupBitmap(HGDIOBJ h) { return Lookup<BitmapObject>(h, HandleKind::Bitmap); }
BrushObject* LookupBrush(HGDIOBJ h) { return Lookup<BrushObject>(h, HandleKind::Brush); }
PenObject* LookupPen(HGDIOBJ h) { return Lookup<PenObject>(h, HandleKind::Pen); }
RegionObject* LookupRegion(HGDIOBJ h) { return Lookup<RegionObject>(h, HandleKind::Region); }
PaletteObject* LookupPalette(HGDIOBJ h) { return Lookup<PaletteObject>(h, HandleKind::Palette); }

const std::vector<DcObject*>& LiveDcs() { return dcs(); }
void RegisterDc(DcObject* dc) { dcs().push_back(dc); }
void UnregisterDc(DcObject* dc) { std::erase(dcs(), dc); }

HBITMAP StockBitmap() { return stock().bitmap; }
HGDIOBJ StockObjectRaw(int index) {
  if (index < 0 || index >= static_cast<int>(stock().objects.size())) return nullptr;
  return stock().objects[static_cast<std::size_t>(index)];
}
HPALETTE DefaultPalette() { return static_cast<HPALETTE>(StockObjectRaw(DEFAULT_PALETTE)); }

COLORREF BrushColor(const DcObject& dc, const BrushObject& b) {
  return b.dcColor ? dc.st.dcBrushColor : b.color;
}
COLORREF PenColor(const DcObject& dc, const PenObject& p) { return p.dcColor ? dc.st.dcPenColor : p.color; }

void UpdateEffectiveClip(DcObject& dc) {
  Region r;
  if (dc.target) r = Region(RECT{0, 0, dc.target->width, dc.target->height});
  if (dc.kind == DcKind::Surface) r = r.Intersect(dc.visible);
  if (dc.st.clip) {
    Region c = *dc.st.clip;
    c.Offset(dc.origin.x, dc.origin.y);
    r = r.Intersect(c);
  }
  dc.effClip = std::move(r);
  dc.effBox = dc.effClip.Box();
}

}  // namespace platform::gdi

using namespace platform;
using namespace platform::gdi;

HGDIOBJ WINAPI GetStockObject(int i) {
  if (HFONT f = StockFont(i)) return f;
  return StockObjectRaw(i);
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color) { return MakeBrush(color, false, false); }

HBRUSH WINAPI CreateBrushIndirect(const LOGBRUSH* lb) {
  if (!lb) return nullptr;
  if (lb->lbStyle == BS_SOLID) return MakeBrush(lb->lbColor, false, false);
  if (lb->lbStyle == BS_NULL) return MakeBrush(0, true, false);
  return nullptr;  // hatched and pattern brushes are not supported
}

HPEN WINAPI CreatePen(int iStyle, int cWidth, COLORREF color) {
  int style = iStyle & PS_STYLE_MASK;
  if (style < PS_SOLID || style > PS_INSIDEFRAME) return nullptr;
  // Wider pens are drawn as round-capped strokes; keep the width sane so a
  // single LineTo stays cheap.
  int width = std::clamp(cWidth, 0, 4096);
  return MakePen(style, width, color, false);
}

HPEN WINAPI CreatePenIndirect(const LOGPEN* lp) {
  if (!lp) return nullptr;
  return CreatePen(static_cast<int>(lp->lopnStyle), lp->lopnWidth.x, lp->lopnColor);
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) {
  DcObject* dc = LookupDc(hdc);
  if (!dc || !h) return nullptr;
  switch (KindOfHandle(h)) {
    case HandleKind::Brush: {
      HGDIOBJ old = dc->st.brush;
      dc->st.brush = static_cast<HBRUSH>(h);
      return old;
    }
    case HandleKind::Pen: {
      HGDIOBJ old = dc->st.pen;
      dc->st.pen = static_cast<HPEN>(h);
      return old;
    }
    case HandleKind::Font: {
      HGDIOBJ old = dc->st.font ? static_cast<HGDIOBJ>(dc->st.font) : StockFont(SYSTEM_FONT);
      dc->st.font = static_cast<HFONT>(h);
      return old;
    }
    case HandleKind::Region: {
      const Region& rgn = LookupRegion(h)->region;
      int type = SelectClipRegionOf(hdc, &rgn);
      return reinterpret_cast<HGDIOBJ>(static_cast<std::intptr_t>(type));
    }
    case HandleKind::Bitmap: {
      if (dc->kind != DcKind::Memory) return nullptr;
      if (dc->bitmap == h) return h;
      BitmapObject* bm = LookupBitmap(h);
      // A bitmap lives in one DC at a time; only the stock placeholder is
      // shared by every fresh memory DC.
      for (const DcObject* other : LiveDcs()) {
        if (other->bitmap == h && !bm->stock) return nullptr;
      }
      HGDIOBJ old = dc->bitmap;
      dc->bitmap = static_cast<HBITMAP>(h);
      dc->target = bm->pixels;
      dc->mono = bm->mono;
      UpdateEffectiveClip(*dc);
      return old;
    }
    default:
      return nullptr;
  }
}

BOOL WINAPI DeleteObject(HGDIOBJ ho) {
  switch (KindOfHandle(ho)) {
    case HandleKind::Brush:
    case HandleKind::Pen:
    case HandleKind::Bitmap:
    case HandleKind::Region:
    case HandleKind::Palette:
    case HandleKind::Font:
      break;
    default:
      return FALSE;
  }
  if (IsStock(ho)) return TRUE;
  if (InUse(ho)) return FALSE;
  ReleaseHandle(ho);
  return TRUE;
}

int WINAPI GetObjectA(HANDLE h, int c, LPVOID pv) {
  if (c < 0) return 0;
  if (BitmapObject* bm = LookupBitmap(h)) {
    BITMAP out{};
    out.bmWidth = bm->pixels->width;
    out.bmHeight = bm->pixels->height;
    out.bmPlanes = 1;
    out.bmBitsPixel = bm->mono ? 1 : 32;
    // Device-dependent bitmaps report word-aligned rows.
    out.bmWidthBytes = ((out.bmWidth * out.bmBitsPixel + 15) / 16) * 2;
    return CopyOut(out, c, pv);
  }
  if (BrushObject* b = LookupBrush(h)) {
    LOGBRUSH out{b->null ? static_cast<UINT>(BS_NULL) : static_cast<UINT>(BS_SOLID), b->color, 0};
    return CopyOut(out, c, pv);
  }
  if (PenObject* p = LookupPen(h)) {
    LOGPEN out{static_cast<UINT>(p->style), POINT{p->width, 0}, p->color};
    return CopyOut(out, c, pv);
  }
  if (FontObject* f = LookupFont(h)) return CopyOut(f->logfont, c, pv);
  if (PaletteObject* p = LookupPalette(h)) {
    WORD n = static_cast<WORD>(p->entries.size());
    if (!pv) return static_cast<int>(sizeof(WORD));
    if (c < static_cast<int>(sizeof(WORD))) return 0;
    std::memcpy(pv, &n, sizeof(WORD));
    return static_cast<int>(sizeof(WORD));
  }
  return 0;
}

DWORD WINAPI GetObjectType(HGDIOBJ h) {
  switch (KindOfHandle(h)) {
    case HandleKind::Pen:
      return OBJ_PEN;
    case HandleKind::Brush:
      return OBJ_BRUSH;
    case HandleKind::Palette:
      return OBJ_PAL;
    case HandleKind::Font:
      return OBJ_FONT;
    case HandleKind::Bitmap:
      return OBJ_BITMAP;
    case HandleKind::Region:
      return OBJ_REGION;
    case HandleKind::DC:
      return LookupDc(static_cast<HDC>(h))->kind == DcKind::Memory ? OBJ_MEMDC : OBJ_DC;
    default:
      return 0;
  }
}

HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type) {
  DcObject* dc = LookupDc(hdc);
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_PEN:
      return dc->st.pen;
    case OBJ_BRUSH:
      return dc->st.brush;
    case OBJ_PAL:
      return dc->st.palette;
    case OBJ_FONT:
      return dc->st.font ? static_cast<HGDIOBJ>(dc->st.font) : StockFont(SYSTEM_FONT);
    case OBJ_BITMAP:
      return dc->bitmap;
    default:
      return nullptr;
  }
}
