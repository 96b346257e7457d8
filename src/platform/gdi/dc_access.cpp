#include "platform/gdi/dc_access.h"

#include "platform/gdi/raster.h"

namespace platform::gdi {

BOOL GetDcTextState(HDC hdc, DcTextState* out) {
  DcObject* dc = LookupDc(hdc);
  if (!dc || !out) return FALSE;
  out->textColor = dc->st.textColor;
  out->bkColor = dc->st.bkColor;
  out->bkMode = dc->st.bkMode;
  out->font = dc->st.font;
  out->currentPos = dc->st.pos;
  out->textAlign = dc->st.textAlign;
  return TRUE;
}

BOOL SetDcCurrentPosition(HDC hdc, POINT pos) {
  DcObject* dc = LookupDc(hdc);
  if (!dc) return FALSE;
  dc->st.pos = pos;
  return TRUE;
}

namespace {

inline std::uint32_t Mix(std::uint32_t d, std::uint32_t s, unsigned a) {
  std::uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    unsigned dc = (d >> shift) & 0xFF, sc = (s >> shift) & 0xFF;
    unsigned v = dc * (255 - a) + sc * a + 128;
    out |= ((v + (v >> 8)) >> 8) << shift;
  }
  return out;
}

}  // namespace

BOOL BlendCoverage(HDC hdc, int x, int y, int w, int h, const std::uint8_t* coverage, int stride,
                   COLORREF color) {
  DcObject* dc = LookupDc(hdc);
  if (!dc || !coverage || w < 0 || h < 0) return FALSE;
  if (!dc->target || w == 0 || h == 0) return TRUE;
  std::int64_t bx = BufX(*dc, x), by = BufY(*dc, y);
  RECT area;
  if (!ClipToBox(*dc, bx, by, bx + w, by + h, &area)) return TRUE;
  // Into a monochrome target the text colour goes through the colour→mono
  // rule: it becomes white only when it equals the background colour.
  std::uint32_t px = dc->mono ? ((color & 0xFFFFFF) == (dc->st.bkColor & 0xFFFFFF) ? 0xFFFFFF : 0)
                              : ToPixel(color & 0xFFFFFF);
  PixelBuffer& buf = *dc->target;
  ForEachClipped(*dc, area, [&](const RECT& piece) {
    for (LONG row = piece.top; row < piece.bottom; ++row) {
      const std::uint8_t* cov = coverage + static_cast<std::ptrdiff_t>(row - by) * stride;
      std::uint32_t* out = buf.row(row);
      for (LONG col = piece.left; col < piece.right; ++col) {
        unsigned a = cov[col - bx];
        if (a == 0) continue;
        if (dc->mono) {
          if (a >= 128) out[col] = px;
        } else {
          out[col] = a == 255 ? px : Mix(out[col], px, a);
        }
      }
    }
    buf.Touch(piece.left, piece.top, piece.right, piece.bottom);
  });
  return TRUE;
}

BOOL FillSolid(HDC hdc, const RECT& r, COLORREF color) {
  DcObject* dc = LookupDc(hdc);
  if (!dc) return FALSE;
  FillOp(*dc, BufX(*dc, r.left), BufY(*dc, r.top), BufX(*dc, r.right), BufY(*dc, r.bottom),
         DevicePixel(*dc, color), 0xF0);
  return TRUE;
}

}  // namespace platform::gdi
