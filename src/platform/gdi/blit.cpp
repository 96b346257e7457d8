// Copies between DCs: BitBlt with any ternary raster operation, StretchBlt
// by nearest pixel (mirroring with negative sizes), AlphaBlend with a
// constant alpha, TransparentBlt.
//
// Sections: source access and colour conversion · BitBlt · stretch maps ·
// StretchBlt · AlphaBlend · TransparentBlt.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gdi/raster.h"

namespace platform::gdi {
namespace {

// --- Source access and colour conversion ------------------------------------

// How source pixels become destination pixels between bitmaps of different
// depth: colour→mono turns the source DC's background colour into white and
// everything else into black; mono→colour turns black into the destination
// DC's text colour and white into its background colour.
struct Convert {
  enum Kind { None, ColorToMono, MonoToColor } kind = None;
  std::uint32_t a = 0, b = 0;

  std::uint32_t operator()(std::uint32_t s) const {
    switch (kind) {
      case ColorToMono:
        return (s & 0xFFFFFF) == a ? 0xFFFFFF : 0;
      case MonoToColor:
        return s ? b : a;
      default:
        return s;
    }
  }
};

Convert ConversionFor(const DcObject& dst, const DcObject& src) {
  Convert c;
  if (!dst.mono && src.mono) {
    c.kind = Convert::MonoToColor;
    c.a = ToPixel(dst.st.textColor & 0xFFFFFF);
    c.b = ToPixel(dst.st.bkColor & 0xFFFFFF);
  } else if (dst.mono && !src.mono) {
    c.kind = Convert::ColorToMono;
    c.a = ToPixel(src.st.bkColor & 0xFFFFFF);
  }
  return c;
}

// A read-only window on source pixels: either the source buffer itself, or
// a snapshot when source and destination share a buffer (so that the copy
// never reads what it has just written).
struct SourceView {
  const std::uint32_t* base = nullptr;
  std::int64_t stride = 0;
  std::int64_t left = 0, top = 0, right = 0, bottom = 0;  // valid buffer coordinates
  std::vector<std::uint32_t> copy;

  const std::uint32_t* Row(std::int64_t y) const { return base + (y - top) * stride - left; }
};

void MakeView(const PixelBuffer& buf, bool snapshot, std::int64_t l, std::int64_t t, std::int64_t r,
              std::int64_t b, SourceView* v) {
  l = std::max<std::int64_t>(l, 0);
  t = std::max<std::int64_t>(t, 0);
  r = std::min<std::int64_t>(r, buf.width);
  b = std::min<std::int64_t>(b, buf.height);
  if (r <= l || b <= t) {
    v->left = v->right = v->top = v->bottom = 0;
    return;
  }
  v->left = l, v->top = t, v->right = r, v->bottom = b;
  if (!snapshot) {
    v->stride = buf.width;
    v->base = buf.row(static_cast<int>(t)) + l;
    return;
  }
  v->stride = r - l;
  v->copy.resize(static_cast<std::size_t>((r - l) * (b - t)));
  for (std::int64_t y = t; y < b; ++y) {
    std::memcpy(v->copy.data() + (y - t) * v->stride, buf.row(static_cast<int>(y)) + l,
                static_cast<std::size_t>(r - l) * 4);
  }
  v->base = v->copy.data();
}

bool PatternFor(const DcObject& dc, std::uint8_t idx, std::uint32_t* pattern, bool* skip) {
  *skip = false;
  *pattern = 0;
  if (!RopUsesPattern(idx)) return true;
  BrushObject* b = LookupBrush(dc.st.brush);
  if (!b || b->null) {
    *skip = true;  // nothing to paint with
    return true;
  }
  *pattern = DevicePixel(dc, BrushColor(dc, *b));
  return true;
}

template <class PerPixel>
void RunRows(DcObject& dst, const RECT& area, PerPixel&& fn) {
  PixelBuffer& buf = *dst.target;
  ForEachClipped(dst, area, [&](const RECT& piece) {
    for (LONG y = piece.top; y < piece.bottom; ++y) fn(y, piece.left, piece.right, buf.row(y));
    buf.Touch(piece.left, piece.top, piece.right, piece.bottom);
  });
}

// --- Stretch maps -------------------------------------------------------------

// For each destination pixel of [areaLo, areaHi) the source coordinate it
// takes, -1 where that falls outside the source view. Destination pixel j of
// a span of `dn` pixels starting at dLo takes source pixel floor((2j + 1) *
// sn / (2 dn)) of the source span (counted from its far end when mirrored).
std::vector<std::int64_t> StretchMap(std::int64_t areaLo, std::int64_t areaHi, std::int64_t dLo,
                                     std::int64_t dn, std::int64_t sLo, std::int64_t sn, bool mirror,
                                     std::int64_t validLo, std::int64_t validHi) {
  std::vector<std::int64_t> map(static_cast<std::size_t>(std::max<std::int64_t>(areaHi - areaLo, 0)));
  for (std::int64_t d = areaLo; d < areaHi; ++d) {
    std::int64_t j = d - dLo;
    std::int64_t k = static_cast<std::int64_t>((static_cast<__int128>(2 * j + 1) * sn) / (2 * dn));
    std::int64_t s = mirror ? sLo + sn - 1 - k : sLo + k;
    map[static_cast<std::size_t>(d - areaLo)] = s >= validLo && s < validHi ? s : -1;
  }
  return map;
}

struct Stretch {
  RECT area{};  // destination pixels to visit (buffer coordinates)
  std::vector<std::int64_t> xs, ys;
  SourceView view;
};

// Lays out a stretched copy; false when nothing of the destination is
// visible or the source rectangle is empty.
bool PrepareStretch(DcObject& dst, DcObject& src, int xd, int yd, int wd, int hd, int xs, int ys, int ws,
                    int hs, Stretch* out) {
  std::int64_t dl = BufX(dst, std::min<std::int64_t>(xd, std::int64_t{xd} + wd));
  std::int64_t dt = BufY(dst, std::min<std::int64_t>(yd, std::int64_t{yd} + hd));
  std::int64_t dw = wd < 0 ? -std::int64_t{wd} : wd, dh = hd < 0 ? -std::int64_t{hd} : hd;
  std::int64_t sl = BufX(src, std::min<std::int64_t>(xs, std::int64_t{xs} + ws));
  std::int64_t st = BufY(src, std::min<std::int64_t>(ys, std::int64_t{ys} + hs));
  std::int64_t sw = ws < 0 ? -std::int64_t{ws} : ws, sh = hs < 0 ? -std::int64_t{hs} : hs;
  if (dw == 0 || dh == 0 || sw == 0 || sh == 0) return false;
  if (!ClipToBox(dst, dl, dt, dl + dw, dt + dh, &out->area)) return false;
  MakeView(*src.target, src.target == dst.target, sl, st, sl + sw, st + sh, &out->view);
  if (out->view.right <= out->view.left) return false;
  out->xs = StretchMap(out->area.left, out->area.right, dl, dw, sl, sw, (wd < 0) != (ws < 0), out->view.left,
                       out->view.right);
  out->ys = StretchMap(out->area.top, out->area.bottom, dt, dh, st, sh, (hd < 0) != (hs < 0), out->view.top,
                       out->view.bottom);
  return true;
}

inline std::uint32_t Blend(std::uint32_t d, std::uint32_t s, unsigned a) {
  std::uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    unsigned v = ((d >> shift) & 0xFF) * (255 - a) + ((s >> shift) & 0xFF) * a + 128;
    out |= ((v + (v >> 8)) >> 8) << shift;
  }
  return out;
}

// The same mix over a run of pixels, byte by byte: every intermediate fits
// 16 bits (255 * 255 + 128 + 255 < 65536), which lets the compiler process
// many channels per instruction. The unused top byte mixes 0 with 0.
// The two runs are never the same memory (a blend of a bitmap onto itself reads from a snapshot,
// MakeView); saying so on the parameters is what lets the optimiser use vector code.
void BlendBytes(std::uint8_t* __restrict d, const std::uint8_t* __restrict s, std::size_t bytes, unsigned a) {
  const auto wa = static_cast<std::uint16_t>(a), wd = static_cast<std::uint16_t>(255 - a);
  const auto mix = [wa, wd](std::uint8_t under, std::uint8_t over) {
    const auto v = static_cast<std::uint16_t>(under * wd + over * wa + 128);
    return static_cast<std::uint8_t>((v + (v >> 8)) >> 8);
  };
  // Blocks of a fixed 32 bytes: a loop of known length becomes vector code at -O2 as well, where a
  // loop of unknown length (needing a tail) stays one byte at a time.
  constexpr std::size_t kBlock = 32;
  std::size_t i = 0;
  for (; i + kBlock <= bytes; i += kBlock)
    for (std::size_t k = 0; k < kBlock; ++k) d[i + k] = mix(d[i + k], s[i + k]);
  for (; i < bytes; ++i) d[i] = mix(d[i], s[i]);
}

void BlendRun(std::uint32_t* dst, const std::uint32_t* src, std::size_t n, unsigned a) {
  BlendBytes(reinterpret_cast<std::uint8_t*>(dst), reinterpret_cast<const std::uint8_t*>(src), n * 4, a);
}

}  // namespace
}  // namespace platform::gdi

using namespace platform::gdi;

// --- BitBlt ---------------------------------------------------------------------

BOOL WINAPI BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) {
  DcObject* dst = LookupDc(hdc);
  if (!dst) return FALSE;
  std::uint8_t idx = RopIndex(rop);
  if (!RopUsesSource(idx)) return PatBlt(hdc, x, y, cx, cy, rop);
  DcObject* src = LookupDc(hdcSrc);
  if (!src || !src->target) return FALSE;
  std::uint32_t pattern;
  bool skip;
  PatternFor(*dst, idx, &pattern, &skip);
  if (skip || !dst->target) return TRUE;

  // A negative size extends the rectangle to the left/up; BitBlt never
  // mirrors.
  std::int64_t lx = x, ly = y, sx = x1, sy = y1, w = cx, h = cy;
  if (w < 0) lx += w, sx += w, w = -w;
  if (h < 0) ly += h, sy += h, h = -h;
  std::int64_t bx = BufX(*dst, lx), by = BufY(*dst, ly);
  std::int64_t offX = BufX(*src, sx) - bx, offY = BufY(*src, sy) - by;  // source = dest + off
  const PixelBuffer& sbuf = *src->target;
  RECT area;
  if (!ClipToBox(*dst, std::max(bx, -offX), std::max(by, -offY), std::min(bx + w, sbuf.width - offX),
                 std::min(by + h, sbuf.height - offY), &area)) {
    return TRUE;
  }
  SourceView view;
  MakeView(sbuf, src->target == dst->target, area.left + offX, area.top + offY, area.right + offX,
           area.bottom + offY, &view);
  Convert conv = ConversionFor(*dst, *src);

  if (idx == 0xCC && conv.kind == Convert::None) {
    PixelBuffer& dbuf = *dst->target;
    ForEachClipped(*dst, area, [&](const RECT& piece) {
      std::size_t rowBytes = static_cast<std::size_t>(piece.right - piece.left) * 4;
      // Whole rows of equally wide bitmaps are one contiguous block.
      if (piece.left == 0 && piece.right == dbuf.width && offX == 0 && view.stride == dbuf.width) {
        std::memcpy(dbuf.row(piece.top), view.Row(piece.top + offY), rowBytes * (piece.bottom - piece.top));
      } else {
        for (LONG row = piece.top; row < piece.bottom; ++row) {
          std::memcpy(dbuf.row(row) + piece.left, view.Row(row + offY) + piece.left + offX, rowBytes);
        }
      }
      dbuf.Touch(piece.left, piece.top, piece.right, piece.bottom);
    });
    return TRUE;
  }
  RunRows(*dst, area, [&](LONG row, LONG l, LONG r, std::uint32_t* out) {
    const std::uint32_t* in = view.Row(row + offY) + offX;
    for (LONG c = l; c < r; ++c) out[c] = Rop3(idx, pattern, conv(in[c]), out[c]);
  });
  return TRUE;
}

// --- StretchBlt -----------------------------------------------------------------

BOOL WINAPI StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc,
                       int ySrc, int wSrc, int hSrc, DWORD rop) {
  std::uint8_t idx = RopIndex(rop);
  if (!RopUsesSource(idx)) return PatBlt(hdcDest, xDest, yDest, wDest, hDest, rop);
  if (wDest == wSrc && hDest == hSrc)
    return BitBlt(hdcDest, xDest, yDest, wDest, hDest, hdcSrc, xSrc, ySrc, rop);
  DcObject* dst = LookupDc(hdcDest);
  DcObject* src = LookupDc(hdcSrc);
  if (!dst || !src || !src->target) return FALSE;
  if (wDest == 0 || hDest == 0) return TRUE;
  if (wSrc == 0 || hSrc == 0) return FALSE;
  std::uint32_t pattern;
  bool skip;
  PatternFor(*dst, idx, &pattern, &skip);
  if (skip || !dst->target) return TRUE;
  Stretch s;
  if (!PrepareStretch(*dst, *src, xDest, yDest, wDest, hDest, xSrc, ySrc, wSrc, hSrc, &s)) return TRUE;
  Convert conv = ConversionFor(*dst, *src);
  if (idx == 0xCC && conv.kind == Convert::None) {
    PixelBuffer& dbuf = *dst->target;
    ForEachClipped(*dst, s.area, [&](const RECT& piece) {
      std::int64_t prevSy = -1;
      for (LONG row = piece.top; row < piece.bottom; ++row) {
        std::int64_t sy = s.ys[static_cast<std::size_t>(row - s.area.top)];
        if (sy < 0) {
          prevSy = -1;
          continue;
        }
        std::uint32_t* out = dbuf.row(row);
        if (sy == prevSy) {
          // Enlarging repeats source rows: copy the row just made.
          std::memcpy(out + piece.left, dbuf.row(row - 1) + piece.left,
                      static_cast<std::size_t>(piece.right - piece.left) * 4);
          continue;
        }
        const std::uint32_t* in = s.view.Row(sy);
        const std::int64_t* xs = s.xs.data() + (piece.left - s.area.left);
        for (LONG c = piece.left; c < piece.right; ++c, ++xs) {
          if (*xs >= 0) out[c] = in[*xs];
        }
        prevSy = sy;
      }
      dbuf.Touch(piece.left, piece.top, piece.right, piece.bottom);
    });
    return TRUE;
  }
  RunRows(*dst, s.area, [&](LONG row, LONG l, LONG r, std::uint32_t* out) {
    std::int64_t sy = s.ys[static_cast<std::size_t>(row - s.area.top)];
    if (sy < 0) return;
    const std::uint32_t* in = s.view.Row(sy);
    for (LONG c = l; c < r; ++c) {
      std::int64_t sx = s.xs[static_cast<std::size_t>(c - s.area.left)];
      if (sx >= 0) out[c] = Rop3(idx, pattern, conv(in[sx]), out[c]);
    }
  });
  return TRUE;
}

// --- AlphaBlend -----------------------------------------------------------------

// Only constant alpha (AlphaFormat 0): these bitmaps carry no per-pixel
// alpha. As in Win32, negative sizes and source rectangles reaching outside
// the source bitmap are refused.
BOOL WINAPI AlphaBlend(HDC hdcDest, int xoriginDest, int yoriginDest, int wDest, int hDest, HDC hdcSrc,
                       int xoriginSrc, int yoriginSrc, int wSrc, int hSrc, BLENDFUNCTION ftn) {
  DcObject* dst = LookupDc(hdcDest);
  DcObject* src = LookupDc(hdcSrc);
  if (!dst || !src || !src->target) return FALSE;
  if (ftn.BlendOp != AC_SRC_OVER || ftn.BlendFlags != 0 || ftn.AlphaFormat != 0) return FALSE;
  if (wDest < 0 || hDest < 0 || wSrc < 0 || hSrc < 0) return FALSE;
  std::int64_t sl = BufX(*src, xoriginSrc), st = BufY(*src, yoriginSrc);
  if (sl < 0 || st < 0 || sl + wSrc > src->target->width || st + hSrc > src->target->height) return FALSE;
  unsigned a = ftn.SourceConstantAlpha;
  if (a == 0 || wDest == 0 || hDest == 0 || !dst->target) return TRUE;
  if (wSrc == 0 || hSrc == 0) return FALSE;
  Stretch s;
  if (!PrepareStretch(*dst, *src, xoriginDest, yoriginDest, wDest, hDest, xoriginSrc, yoriginSrc, wSrc, hSrc,
                      &s)) {
    return TRUE;
  }
  bool mono = dst->mono;
  bool identityX = wDest == wSrc;
  RunRows(*dst, s.area, [&](LONG row, LONG l, LONG r, std::uint32_t* out) {
    const std::uint32_t* in = s.view.Row(s.ys[static_cast<std::size_t>(row - s.area.top)]);
    if (identityX) {
      // Same width: the source column is a fixed offset, so skip the map.
      const std::uint32_t* src0 = in + s.xs[static_cast<std::size_t>(l - s.area.left)] - l;
      if (a == 255) {
        for (LONG c = l; c < r; ++c) out[c] = mono ? ToMonoPixel(src0[c]) : (src0[c] & 0xFFFFFF);
      } else if (!mono) {
        BlendRun(out + l, src0 + l, static_cast<std::size_t>(r - l), a);
      } else {
        for (LONG c = l; c < r; ++c) out[c] = ToMonoPixel(Blend(out[c], src0[c], a));
      }
      return;
    }
    for (LONG c = l; c < r; ++c) {
      std::uint32_t v = Blend(out[c], in[s.xs[static_cast<std::size_t>(c - s.area.left)]], a);
      out[c] = mono ? ToMonoPixel(v) : v;
    }
  });
  return TRUE;
}

// --- TransparentBlt -------------------------------------------------------------

BOOL WINAPI TransparentBlt(HDC hdcDest, int xoriginDest, int yoriginDest, int wDest, int hDest, HDC hdcSrc,
                           int xoriginSrc, int yoriginSrc, int wSrc, int hSrc, UINT crTransparent) {
  DcObject* dst = LookupDc(hdcDest);
  DcObject* src = LookupDc(hdcSrc);
  if (!dst || !src || !src->target) return FALSE;
  if (wDest <= 0 || hDest <= 0 || wSrc <= 0 || hSrc <= 0) return FALSE;
  std::int64_t sl = BufX(*src, xoriginSrc), st = BufY(*src, yoriginSrc);
  if (sl < 0 || st < 0 || sl + wSrc > src->target->width || st + hSrc > src->target->height) return FALSE;
  if (!dst->target) return TRUE;
  Stretch s;
  if (!PrepareStretch(*dst, *src, xoriginDest, yoriginDest, wDest, hDest, xoriginSrc, yoriginSrc, wSrc, hSrc,
                      &s)) {
    return TRUE;
  }
  std::uint32_t key = ToPixel(crTransparent & 0xFFFFFF);
  Convert conv = ConversionFor(*dst, *src);
  RunRows(*dst, s.area, [&](LONG row, LONG l, LONG r, std::uint32_t* out) {
    const std::uint32_t* in = s.view.Row(s.ys[static_cast<std::size_t>(row - s.area.top)]);
    for (LONG c = l; c < r; ++c) {
      std::uint32_t px = in[s.xs[static_cast<std::size_t>(c - s.area.left)]] & 0xFFFFFF;
      if (px != key) out[c] = conv(px);
    }
  });
  return TRUE;
}
