// System colours and their brushes, colour-reference translation and
// palettes. A 32-bit display has no hardware palette, so palettes are valid
// objects that never change a colour.
#include <array>

#include "platform/gdi/gdi_objects.h"

namespace platform::gdi {
namespace {

// The classic (Windows 2000) scheme.
constexpr std::array<COLORREF, COLOR_MENUBAR + 1> kSysColors = {
    RGB(212, 208, 200),  // COLOR_SCROLLBAR
    RGB(58, 110, 165),   // COLOR_BACKGROUND
    RGB(10, 36, 106),    // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
    RGB(212, 208, 200),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(0, 0, 0),        // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(212, 208, 200),  // COLOR_ACTIVEBORDER
    RGB(212, 208, 200),  // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // COLOR_APPWORKSPACE
    RGB(10, 36, 106),    // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(212, 208, 200),  // COLOR_BTNFACE
    RGB(128, 128, 128),  // COLOR_BTNSHADOW
    RGB(128, 128, 128),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(212, 208, 200),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(64, 64, 64),     // COLOR_3DDKSHADOW
    RGB(212, 208, 200),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    RGB(181, 181, 181),  // 25: unnamed, kept for completeness of the table
    RGB(0, 0, 128),      // COLOR_HOTLIGHT
    RGB(166, 202, 240),  // COLOR_GRADIENTACTIVECAPTION
    RGB(192, 192, 192),  // COLOR_GRADIENTINACTIVECAPTION
    RGB(10, 36, 106),    // COLOR_MENUHILIGHT
    RGB(212, 208, 200),  // COLOR_MENUBAR
};

HPALETTE NewPalette(std::vector<PALETTEENTRY> entries) {
  auto p = std::make_unique<PaletteObject>();
  p->entries = std::move(entries);
  return static_cast<HPALETTE>(AllocHandle(HandleKind::Palette, std::move(p)));
}

}  // namespace
}  // namespace platform::gdi

using namespace platform;
using namespace platform::gdi;

DWORD WINAPI GetSysColor(int nIndex) {
  if (nIndex < 0 || nIndex >= static_cast<int>(kSysColors.size())) return 0;
  return kSysColors[static_cast<std::size_t>(nIndex)];
}

// System colour brushes belong to the system: made once, never deleted.
HBRUSH WINAPI GetSysColorBrush(int nIndex) {
  if (nIndex < 0 || nIndex >= static_cast<int>(kSysColors.size())) return nullptr;
  static std::array<HBRUSH, kSysColors.size()> brushes{};
  HBRUSH& slot = brushes[static_cast<std::size_t>(nIndex)];
  if (!slot) {
    auto b = std::make_unique<BrushObject>();
    b->color = kSysColors[static_cast<std::size_t>(nIndex)];
    b->stock = true;
    slot = static_cast<HBRUSH>(AllocPermanentHandle(HandleKind::Brush, std::move(b)));
  }
  return slot;
}

// High byte 0x80: system colour index in the low byte; 0x00: plain RGB;
// 0x01: index into the palette; 0x02: palette-relative RGB. Anything else is
// not a colour.
HRESULT WINAPI OleTranslateColor(OLE_COLOR clr, HPALETTE hpal, COLORREF* lpcolorref) {
  COLORREF out = 0;
  switch (clr >> 24) {
    case 0x80: {
      DWORD index = clr & 0x00FFFFFF;
      if (index > COLOR_MENUBAR) return E_INVALIDARG;
      out = GetSysColor(static_cast<int>(index));
      break;
    }
    case 0x00:
      out = clr;
      break;
    case 0x02:
      out = clr & 0x00FFFFFF;
      break;
    case 0x01: {
      PaletteObject* p = LookupPalette(hpal ? static_cast<HGDIOBJ>(hpal) : DefaultPalette());
      DWORD index = clr & 0xFFFF;
      if (!p || (clr & 0x00FF0000) || index >= p->entries.size()) return E_INVALIDARG;
      const PALETTEENTRY& e = p->entries[index];
      out = RGB(e.peRed, e.peGreen, e.peBlue);
      break;
    }
    default:
      return E_INVALIDARG;
  }
  if (lpcolorref) *lpcolorref = out;
  return S_OK;
}

// 256 entries: the 20 static colours, then a 6 x 6 x 6 colour cube and a
// ramp of greys.
HPALETTE WINAPI CreateHalftonePalette(HDC hdc) {
  if (hdc && !LookupDc(hdc)) return nullptr;
  std::vector<PALETTEENTRY> e = LookupPalette(DefaultPalette())->entries;
  static const BYTE kLevels[6] = {0, 51, 102, 153, 204, 255};
  for (BYTE r : kLevels) {
    for (BYTE g : kLevels) {
      for (BYTE b : kLevels) e.push_back(PALETTEENTRY{r, g, b, 0});
    }
  }
  for (int i = 1; e.size() < 256; ++i) {
    BYTE v = static_cast<BYTE>(i * 255 / 21);
    e.push_back(PALETTEENTRY{v, v, v, 0});
  }
  return NewPalette(std::move(e));
}

HPALETTE WINAPI CreatePalette(const LOGPALETTE* plpal) {
  if (!plpal || plpal->palVersion != 0x300 || plpal->palNumEntries == 0) return nullptr;
  return NewPalette(std::vector<PALETTEENTRY>(plpal->palPalEntry, plpal->palPalEntry + plpal->palNumEntries));
}

HPALETTE WINAPI SelectPalette(HDC hdc, HPALETTE hPal, BOOL) {
  DcObject* dc = LookupDc(hdc);
  if (!dc || !LookupPalette(hPal)) return nullptr;
  HPALETTE old = dc->st.palette;
  dc->st.palette = hPal;
  return old;
}

// Nothing to map on a true-colour display.
UINT WINAPI RealizePalette(HDC hdc) { return LookupDc(hdc) ? 0 : GDI_ERROR; }

UINT WINAPI GetPaletteEntries(HPALETTE hpal, UINT iStart, UINT cEntries, LPPALETTEENTRY pPalEntries) {
  PaletteObject* p = LookupPalette(hpal);
  if (!p) return 0;
  UINT n = static_cast<UINT>(p->entries.size());
  if (!pPalEntries) return n;
  if (iStart >= n) return 0;
  UINT count = std::min(cEntries, n - iStart);
  for (UINT i = 0; i < count; ++i) pPalEntries[i] = p->entries[iStart + i];
  return count;
}
