// Random access to the skin pixel table for tests: colour of (bitmap, x, y), plus the colour
// arithmetic the checks need. Built once from the table; a pixel the table misses reads as
// kMissing so that coverage faults show up as wrong colours rather than crashes.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "skin/skin_pixel_table.h"

namespace skintest {

inline constexpr std::uint32_t kKey = 0x00FF00FF;
inline constexpr std::uint32_t kMissing = 0xFFFFFFFF;

inline int Red(std::uint32_t c) { return static_cast<int>(c & 0xFF); }
inline int Green(std::uint32_t c) { return static_cast<int>((c >> 8) & 0xFF); }
inline int Blue(std::uint32_t c) { return static_cast<int>((c >> 16) & 0xFF); }
inline int Brightness(std::uint32_t c) { return Red(c) + Green(c) + Blue(c); }
inline int ChannelDistance(std::uint32_t a, std::uint32_t b) {
  int d = std::abs(Red(a) - Red(b));
  if (std::abs(Green(a) - Green(b)) > d) d = std::abs(Green(a) - Green(b));
  if (std::abs(Blue(a) - Blue(b)) > d) d = std::abs(Blue(a) - Blue(b));
  return d;
}
// Chroma over value: how far a colour is from grey, independent of its lightness.
inline double Saturation(std::uint32_t c) {
  int hi = Red(c), lo = Red(c);
  for (int v : {Green(c), Blue(c)}) {
    if (v > hi) hi = v;
    if (v < lo) lo = v;
  }
  return hi == 0 ? 0.0 : static_cast<double>(hi - lo) / hi;
}

class TableView {
 public:
  TableView() {
    for (int b = 0; b < 5; ++b) {
      const auto [w, h] = Size(b);
      pixels_[b].assign(static_cast<std::size_t>(w * h), kMissing);
    }
    for (const skin::SkinPixel& p : skin::SkinPixelTable) {
      if (p.bitmap < 5 && p.x < Size(p.bitmap).width && p.y < Size(p.bitmap).height)
        pixels_[p.bitmap][static_cast<std::size_t>(p.y * Size(p.bitmap).width + p.x)] = p.colour;
    }
  }
  // Sizes as the engine's painters expect them, independent of the generated size table.
  static skin::SkinBitmapSize Size(int bitmap) {
    static constexpr skin::SkinBitmapSize kSizes[5] = {{7, 84}, {15, 18}, {18, 24}, {13, 52}, {9, 20}};
    return kSizes[bitmap];
  }
  std::uint32_t At(int bitmap, int x, int y) const {
    return pixels_[bitmap][static_cast<std::size_t>(y * Size(bitmap).width + x)];
  }

 private:
  std::vector<std::uint32_t> pixels_[5];
};

}  // namespace skintest
