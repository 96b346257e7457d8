#include "platform/gdi/font_object.h"

#include <array>
#include <cstring>
#include <memory>

namespace platform::gdi {
namespace {

LOGFONTA MakeLogFont(int height, int weight, BYTE pitchAndFamily, const char* face) {
  LOGFONTA lf{};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfPitchAndFamily = pitchAndFamily;
  std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return lf;
}

struct StockEntry {
  int index;
  HFONT font;
};

// The stock fonts keep the Win32 faces and sizes; the face names map to
// installed fonts like any other (font_resolve.h).
const std::array<StockEntry, 7>& StockTable() {
  static const std::array<StockEntry, 7> table = [] {
    auto make = [](const LOGFONTA& lf) {
      return static_cast<HFONT>(
          AllocPermanentHandle(HandleKind::Font, std::make_unique<FontObject>(lf, true)));
    };
    const LOGFONTA system = MakeLogFont(16, FW_BOLD, VARIABLE_PITCH | FF_SWISS, "System");
    return std::array<StockEntry, 7>{{
        {OEM_FIXED_FONT, make(MakeLogFont(12, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Terminal"))},
        {ANSI_FIXED_FONT, make(MakeLogFont(13, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Courier"))},
        {ANSI_VAR_FONT, make(MakeLogFont(13, FW_NORMAL, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif"))},
        {SYSTEM_FONT, make(system)},
        {DEVICE_DEFAULT_FONT, make(system)},
        {SYSTEM_FIXED_FONT, make(MakeLogFont(15, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Fixedsys"))},
        {DEFAULT_GUI_FONT, make(MakeLogFont(-11, FW_NORMAL, VARIABLE_PITCH | FF_SWISS, "MS Shell Dlg"))},
    }};
  }();
  return table;
}

}  // namespace

FontObject* LookupFont(HGDIOBJ h) { return Lookup<FontObject>(h, HandleKind::Font); }

HFONT StockFont(int index) {
  for (const StockEntry& e : StockTable()) {
    if (e.index == index) return e.font;
  }
  return nullptr;
}

bool IsStockFont(HGDIOBJ h) {
  const FontObject* f = LookupFont(h);
  return f != nullptr && f->stock;
}

}  // namespace platform::gdi

using platform::gdi::FontObject;

HFONT WINAPI CreateFontIndirectA(const LOGFONTA* lplf) {
  if (lplf == nullptr) return nullptr;
  LOGFONTA lf = *lplf;
  // A caller may hand over a face name that fills the whole array; never
  // let an unterminated name escape into the engine.
  lf.lfFaceName[LF_FACESIZE - 1] = '\0';
  return static_cast<HFONT>(
      platform::AllocHandle(platform::HandleKind::Font, std::make_unique<FontObject>(lf)));
}

HFONT WINAPI CreateFontA(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight,
                         DWORD bItalic, DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet,
                         DWORD iOutPrecision, DWORD iClipPrecision, DWORD iQuality, DWORD iPitchAndFamily,
                         LPCSTR pszFaceName) {
  LOGFONTA lf{};
  lf.lfHeight = cHeight;
  lf.lfWidth = cWidth;
  lf.lfEscapement = cEscapement;
  lf.lfOrientation = cOrientation;
  lf.lfWeight = cWeight;
  lf.lfItalic = static_cast<BYTE>(bItalic != 0);
  lf.lfUnderline = static_cast<BYTE>(bUnderline != 0);
  lf.lfStrikeOut = static_cast<BYTE>(bStrikeOut != 0);
  lf.lfCharSet = static_cast<BYTE>(iCharSet);
  lf.lfOutPrecision = static_cast<BYTE>(iOutPrecision);
  lf.lfClipPrecision = static_cast<BYTE>(iClipPrecision);
  lf.lfQuality = static_cast<BYTE>(iQuality);
  lf.lfPitchAndFamily = static_cast<BYTE>(iPitchAndFamily);
  if (pszFaceName != nullptr) std::strncpy(lf.lfFaceName, pszFaceName, LF_FACESIZE - 1);
  return CreateFontIndirectA(&lf);
}
