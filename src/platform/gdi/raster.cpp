#include "platform/gdi/raster.h"

#include <algorithm>

namespace platform::gdi {

std::uint8_t Rop2ToRop3(int rop2) {
  if (rop2 < R2_BLACK || rop2 > R2_WHITE) rop2 = R2_COPYPEN;
  unsigned table = static_cast<unsigned>(rop2 - 1);
  std::uint8_t out = 0;
  for (int k = 0; k < 8; ++k) {
    int p = (k >> 2) & 1, d = k & 1;
    if ((table >> ((p << 1) | d)) & 1) out |= static_cast<std::uint8_t>(1u << k);
  }
  return out;
}

bool ClipToBox(const DcObject& dc, std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b,
               RECT* out) {
  l = std::max<std::int64_t>(l, dc.effBox.left);
  t = std::max<std::int64_t>(t, dc.effBox.top);
  r = std::min<std::int64_t>(r, dc.effBox.right);
  b = std::min<std::int64_t>(b, dc.effBox.bottom);
  if (r <= l || b <= t) return false;
  *out = RECT{static_cast<LONG>(l), static_cast<LONG>(t), static_cast<LONG>(r), static_cast<LONG>(b)};
  return true;
}

void FillOp(DcObject& dc, std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b,
            std::uint32_t pattern, std::uint8_t idx) {
  if (!dc.target || idx == 0xAA) return;
  RECT area;
  if (!ClipToBox(dc, l, t, r, b, &area)) return;
  PixelBuffer& buf = *dc.target;
  ForEachClipped(dc, area, [&](const RECT& piece) {
    for (LONG y = piece.top; y < piece.bottom; ++y) {
      std::uint32_t* row = buf.row(y);
      if (idx == 0xF0) {
        std::fill(row + piece.left, row + piece.right, pattern);
      } else {
        for (LONG x = piece.left; x < piece.right; ++x) row[x] = Rop3(idx, pattern, 0, row[x]);
      }
    }
    buf.Touch(piece.left, piece.top, piece.right, piece.bottom);
  });
}

bool PlotOp(DcObject& dc, std::int64_t x, std::int64_t y, std::uint32_t pattern, std::uint8_t idx) {
  if (!dc.target) return false;
  if (x < dc.effBox.left || x >= dc.effBox.right || y < dc.effBox.top || y >= dc.effBox.bottom) return false;
  int ix = static_cast<int>(x), iy = static_cast<int>(y);
  if (!dc.effClip.Contains(ix, iy)) return false;
  std::uint32_t& px = dc.target->row(iy)[ix];
  px = Rop3(idx, pattern, 0, px);
  dc.target->Touch(ix, iy, ix + 1, iy + 1);
  return true;
}

}  // namespace platform::gdi
