// Colour arithmetic of the colour dialog: the classic Windows HLS model
// (hue, luminance and saturation each 0..240, RGB 0..255, integer rounding)
// and the 48 basic colours.
#pragma once

#include <array>

#include "platform/win32.h"

namespace platform::dialogs {

constexpr int kHlsMax = 240;
constexpr int kRgbMax = 255;
// Hue of a grey, where no hue is defined: the blue third, as Windows shows.
constexpr int kUndefinedHue = kHlsMax * 2 / 3;

struct Hls {
  int h = 0, l = 0, s = 0;
  friend bool operator==(const Hls&, const Hls&) = default;
};

Hls RgbToHls(COLORREF c);
// h, l and s are clamped into 0..240 first.
COLORREF HlsToRgb(int h, int l, int s);

// The basic colours, row by row (8 per row, 6 rows).
extern const std::array<COLORREF, 48> kBasicColors;

}  // namespace platform::dialogs
