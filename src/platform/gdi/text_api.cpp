// The Win32 text entry points over the font engine, the layout rules and
// the DC access of the raster layer.
//
// Sections:
//   1. The DC's font
//   2. Metrics and extents: GetTextMetricsA, GetTextExtentPoint32A, GetTextFaceA
//   3. Single runs: ExtTextOutA, TextOutA
//   4. Formatted text: DrawTextExA, DrawTextA
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/gdi/dc_access.h"
#include "platform/gdi/font_engine.h"
#include "platform/gdi/font_object.h"
#include "platform/gdi/text_layout.h"
#include "platform/gdi/text_paint.h"
#include "platform/gdi/text_utf8.h"
#include "platform/win32.h"

namespace platform::gdi {
namespace {

// ---- 1. The DC's font ------------------------------------------------------

constexpr int kOpaqueMode = 2;  // the OPAQUE background mode

struct DcText {
  DcTextState state;
  const LOGFONTA* logfont = nullptr;
  RealizedFont* font = nullptr;
};

bool ReadDc(HDC dc, DcText* out) {
  if (!GetDcTextState(dc, &out->state)) return false;
  const FontObject* obj = LookupFont(out->state.font);
  if (obj == nullptr) obj = LookupFont(StockFont(SYSTEM_FONT));
  if (obj == nullptr) return false;
  out->logfont = &obj->logfont;
  out->font = RealizeFont(obj->logfont);
  return true;
}

AdvanceFn AdvanceOf(RealizedFont* font) {
  return [font](char32_t c) { return font->Advance(c); };
}

}  // namespace
}  // namespace platform::gdi

using namespace platform::gdi;

// ---- 2. Metrics and extents ------------------------------------------------

BOOL WINAPI GetTextMetricsA(HDC hdc, LPTEXTMETRICA lptm) {
  DcText t;
  if (lptm == nullptr || !ReadDc(hdc, &t)) return FALSE;
  const FontMetrics& m = t.font->Metrics();
  TEXTMETRICA tm{};
  tm.tmHeight = m.height;
  tm.tmAscent = m.ascent;
  tm.tmDescent = m.descent;
  tm.tmInternalLeading = m.internalLeading;
  tm.tmExternalLeading = m.externalLeading;
  tm.tmAveCharWidth = m.aveCharWidth;
  tm.tmMaxCharWidth = m.maxCharWidth;
  tm.tmWeight = m.weight;
  tm.tmOverhang = 0;
  tm.tmDigitizedAspectX = 96;
  tm.tmDigitizedAspectY = 96;
  tm.tmFirstChar = 0x20;
  tm.tmLastChar = 0xFF;
  tm.tmDefaultChar = 0x3F;
  tm.tmBreakChar = 0x20;
  tm.tmItalic = m.italic ? 1 : 0;
  tm.tmUnderlined = m.underline ? 1 : 0;
  tm.tmStruckOut = m.strikeout ? 1 : 0;
  // Win32's inverted bit: TMPF_FIXED_PITCH set means variable pitch.
  tm.tmPitchAndFamily = static_cast<BYTE>((m.fixedPitch ? 0 : TMPF_FIXED_PITCH) | TMPF_VECTOR |
                                          TMPF_TRUETYPE | (t.logfont->lfPitchAndFamily & 0xF0));
  BYTE charset = t.logfont->lfCharSet;
  if (charset == DEFAULT_CHARSET)
    charset = ScriptOfFace(t.logfont->lfFaceName) == FontScript::Cjk ? GB2312_CHARSET : ANSI_CHARSET;
  tm.tmCharSet = charset;
  *lptm = tm;
  return TRUE;
}

BOOL WINAPI GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, LPSIZE psizl) {
  DcText t;
  if (psizl == nullptr || c < 0 || (lpString == nullptr && c > 0) || !ReadDc(hdc, &t)) return FALSE;
  int width = 0;
  for (const DecodedChar& ch : DecodeUtf8(TextArgument(lpString, c))) width += t.font->Advance(ch.cp);
  psizl->cx = width;
  psizl->cy = t.font->Metrics().height;
  return TRUE;
}

int WINAPI GetTextFaceA(HDC hdc, int c, LPSTR lpName) {
  DcText t;
  if (!ReadDc(hdc, &t)) return 0;
  // Known Windows names are reported as asked, like a Windows machine that
  // has them; anything else reports the family it really got.
  std::string face = t.logfont->lfFaceName;
  if (MappedFamily(face, false).empty() && !t.font->File().family.empty()) face = t.font->File().family;
  if (lpName == nullptr) return static_cast<int>(face.size()) + 1;
  if (c <= 0) return 0;
  const std::size_t n = std::min(face.size(), static_cast<std::size_t>(c - 1));
  std::memcpy(lpName, face.data(), n);
  lpName[n] = '\0';
  return static_cast<int>(n);
}

// ---- 3. Single runs --------------------------------------------------------

BOOL WINAPI ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* lprect, LPCSTR lpString, UINT c,
                        const INT* lpDx) {
  DcText t;
  if ((lpString == nullptr && c > 0) || !ReadDc(hdc, &t)) return FALSE;
  const FontMetrics& m = t.font->Metrics();
  const std::string_view bytes = TextArgument(lpString, static_cast<int>(std::min<UINT>(c, 0x7FFFFFFF)));

  std::vector<PlacedGlyph> glyphs;
  int width = 0;
  for (const DecodedChar& ch : DecodeUtf8(bytes)) {
    int adv = t.font->Advance(ch.cp);
    if (lpDx != nullptr) {
      // One spacing value per byte, as the "A" call counts bytes: the
      // values of a character's bytes add up to its advance.
      adv = 0;
      for (std::size_t b = 0; b < ch.byteLength; ++b) adv += lpDx[ch.byteOffset + b];
    }
    glyphs.push_back({ch.cp, width, adv, false});
    width += adv;
  }

  const UINT align = t.state.textAlign;
  POINT ref{x, y};
  if (align & TA_UPDATECP) ref = t.state.currentPos;
  int left = ref.x;
  if ((align & TA_CENTER) == TA_CENTER) {
    left = ref.x - width / 2;
  } else if (align & TA_RIGHT) {
    left = ref.x - width;
  }
  int baseline = ref.y + m.ascent;
  if ((align & TA_BASELINE) == TA_BASELINE) {
    baseline = ref.y;
  } else if (align & TA_BOTTOM) {
    baseline = ref.y - m.descent;
  }

  TextPaint paint{hdc, t.font, t.state.textColor, std::nullopt};
  if (lprect != nullptr && (options & ETO_OPAQUE)) PaintFill(paint, *lprect, t.state.bkColor);
  if (lprect != nullptr && (options & ETO_CLIPPED)) paint.clip = *lprect;
  if (t.state.bkMode == kOpaqueMode)
    PaintFill(paint, RECT{left, baseline - m.ascent, left + width, baseline + m.descent}, t.state.bkColor);
  PaintGlyphRun(paint, left, baseline, glyphs);

  if (align & TA_UPDATECP) {
    POINT next = t.state.currentPos;
    if ((align & TA_CENTER) == TA_CENTER) {
      // A centred run leaves the current position where it was.
    } else if (align & TA_RIGHT) {
      next.x -= width;
    } else {
      next.x += width;
    }
    SetDcCurrentPosition(hdc, next);
  }
  return TRUE;
}

BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c) {
  if (c < 0) return FALSE;
  return ExtTextOutA(hdc, x, y, 0, nullptr, lpString, static_cast<UINT>(c), nullptr);
}

// ---- 4. Formatted text -----------------------------------------------------

int WINAPI DrawTextExA(HDC hdc, LPSTR lpchText, int cchText, LPRECT lprc, UINT format,
                       LPDRAWTEXTPARAMS lpdtp) {
  DcText t;
  if (lprc == nullptr || lpchText == nullptr || !ReadDc(hdc, &t)) return 0;
  const std::string_view bytes = TextArgument(lpchText, cchText);
  if (lpdtp != nullptr) lpdtp->uiLengthDrawn = 0;
  const FontMetrics& m = t.font->Metrics();

  int tabChars = 8;
  if (format & DT_TABSTOP) {
    // The tab length rides in the second byte, which then means nothing else.
    tabChars = static_cast<int>((format >> 8) & 0xFF);
    format &= ~0xFF00u;
  }
  int leftMargin = 0;
  int rightMargin = 0;
  if (lpdtp != nullptr) {
    if (lpdtp->iTabLength > 0) tabChars = lpdtp->iTabLength;
    leftMargin = lpdtp->iLeftMargin;
    rightMargin = lpdtp->iRightMargin;
  }

  RECT box{lprc->left + leftMargin, lprc->top, lprc->right - rightMargin, lprc->bottom};
  LayoutParams params;
  params.format = format;
  params.width = box.right - box.left;
  params.height = box.bottom - box.top;
  params.lineHeight = m.height + ((format & DT_EXTERNALLEADING) ? m.externalLeading : 0);
  params.tabWidth = tabChars * m.aveCharWidth;
  const TextLayout layout = LayoutText(DecodeUtf8Text(bytes), params, AdvanceOf(t.font));
  if (lpdtp != nullptr) lpdtp->uiLengthDrawn = static_cast<UINT>(bytes.size());

  if (format & DT_CALCRECT) {
    lprc->right = box.left + layout.width + rightMargin;
    lprc->bottom = box.top + layout.height;
    return layout.result;
  }

  TextPaint paint{hdc, t.font, t.state.textColor, std::nullopt};
  if (!(format & DT_NOCLIP)) paint.clip = *lprc;
  paint.glyphs = (format & DT_PREFIXONLY) == 0;
  for (const LaidLine& line : layout.lines) {
    const int left = box.left + line.x;
    const int top = box.top + line.y;
    if (t.state.bkMode == kOpaqueMode && paint.glyphs)
      PaintFill(paint, RECT{left, top, left + line.width, top + params.lineHeight}, t.state.bkColor);
    PaintGlyphRun(paint, left, top + m.ascent, line.glyphs);
  }
  return layout.result;
}

int WINAPI DrawTextA(HDC hdc, LPCSTR lpchText, int cchText, LPRECT lprc, UINT format) {
  // DrawTextExA only writes into the text with DT_MODIFYSTRING, which is
  // not supported, so the cast never lets a write through.
  return DrawTextExA(hdc, const_cast<LPSTR>(lpchText), cchText, lprc,
                     format & ~static_cast<UINT>(DT_MODIFYSTRING), nullptr);
}
