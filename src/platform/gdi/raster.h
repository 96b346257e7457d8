// Pixel-level building blocks shared by the drawing and copy calls: raster
// operation evaluation, colour→monochrome mapping and clipped writes.
// Private to platform/gdi.
#pragma once

#include <cstdint>

#include "platform/gdi/gdi_objects.h"

namespace platform::gdi {

// A ternary raster operation's index is the high word's low byte; bit
// (P<<2 | S<<1 | D) of it is the result for that combination of input bits.
// Applied bitwise to all 24 colour bits at once.
inline std::uint32_t Rop3(std::uint8_t idx, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
  switch (idx) {
    case 0x00:
      return 0;
    case 0xFF:
      return 0xFFFFFF;
    case 0xCC:
      return s;
    case 0xF0:
      return p;
    case 0xAA:
      return d;
    case 0x88:
      return s & d;
    case 0xEE:
      return s | d;
    case 0x66:
      return s ^ d;
    case 0x22:
      return d & ~s & 0xFFFFFF;
    case 0x33:
      return ~s & 0xFFFFFF;
    case 0x55:
      return ~d & 0xFFFFFF;
    case 0x5A:
      return p ^ d;
    default:
      break;
  }
  std::uint32_t r = 0;
  for (int k = 0; k < 8; ++k) {
    if (!((idx >> k) & 1)) continue;
    r |= ((k & 4) ? p : ~p) & ((k & 2) ? s : ~s) & ((k & 1) ? d : ~d);
  }
  return r & 0xFFFFFF;
}

constexpr std::uint8_t RopIndex(DWORD rop) { return static_cast<std::uint8_t>((rop >> 16) & 0xFF); }
// The result changes with S (resp. P) for some input.
constexpr bool RopUsesSource(std::uint8_t i) { return ((i >> 2) & 0x33) != (i & 0x33); }
constexpr bool RopUsesPattern(std::uint8_t i) { return ((i >> 4) & 0x0F) != (i & 0x0F); }

// The ternary index equivalent to a binary (pen) operation R2_*: P is the
// pen, S is ignored. Out-of-range codes behave as R2_COPYPEN.
std::uint8_t Rop2ToRop3(int rop2);

// Nearest of black and white, as a colour becomes when it is drawn into a
// monochrome bitmap.
inline std::uint32_t ToMonoPixel(std::uint32_t px) {
  unsigned sum = ((px >> 16) & 0xFF) + ((px >> 8) & 0xFF) + (px & 0xFF);
  return sum > 382 ? 0xFFFFFF : 0;
}

// A COLORREF as a pixel of this DC's target.
inline std::uint32_t DevicePixel(const DcObject& dc, COLORREF c) {
  std::uint32_t px = ToPixel(c & 0xFFFFFF);
  return dc.mono ? ToMonoPixel(px) : px;
}

// Clamps a 64-bit buffer rectangle to the DC's clip box; false if nothing
// is left.
bool ClipToBox(const DcObject& dc, std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, RECT* out);

// Calls fn(RECT) for each piece of `area` (buffer coordinates, already
// inside effBox) that lies inside the DC's clip region.
template <class Fn>
void ForEachClipped(const DcObject& dc, const RECT& area, Fn&& fn) {
  for (const RECT& c : dc.effClip.Rects()) {
    if (c.top >= area.bottom) break;
    RECT piece{std::max(c.left, area.left), std::max(c.top, area.top), std::min(c.right, area.right),
               std::min(c.bottom, area.bottom)};
    if (piece.left < piece.right && piece.top < piece.bottom) fn(piece);
  }
}

// Applies raster operation `idx` with pattern colour `pattern` (a pixel of
// the target) and no source over a buffer rectangle, through the clip.
void FillOp(DcObject& dc, std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b,
            std::uint32_t pattern, std::uint8_t idx);

// One pixel through the clip with a raster operation; false when clipped.
bool PlotOp(DcObject& dc, std::int64_t x, std::int64_t y, std::uint32_t pattern, std::uint8_t idx);

}  // namespace platform::gdi
