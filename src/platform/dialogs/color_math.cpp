// HLS on 0..240 scales with rounding to nearest at every division, so that
// the numbers shown in the dialog's fields are the ones Windows users know
// (pure red is 0/120/240, white is 160/240/0).
#include "platform/dialogs/color_math.h"

#include <algorithm>

namespace platform::dialogs {
namespace {

int HueToChannel(int n1, int n2, int hue) {
  if (hue < 0) hue += kHlsMax;
  if (hue > kHlsMax) hue -= kHlsMax;
  if (hue < kHlsMax / 6) return n1 + (((n2 - n1) * hue + kHlsMax / 12) / (kHlsMax / 6));
  if (hue < kHlsMax / 2) return n2;
  if (hue < kHlsMax * 2 / 3)
    return n1 + (((n2 - n1) * (kHlsMax * 2 / 3 - hue) + kHlsMax / 12) / (kHlsMax / 6));
  return n1;
}

int ToByte(int channel) { return std::clamp((channel * kRgbMax + kHlsMax / 2) / kHlsMax, 0, kRgbMax); }

}  // namespace

Hls RgbToHls(COLORREF c) {
  const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
  const int hi = std::max({r, g, b}), lo = std::min({r, g, b});
  Hls out;
  out.l = ((hi + lo) * kHlsMax + kRgbMax) / (2 * kRgbMax);
  if (hi == lo) {
    out.s = 0;
    out.h = kUndefinedHue;
    return out;
  }
  const int sum = hi + lo, span = hi - lo;
  if (out.l <= kHlsMax / 2)
    out.s = (span * kHlsMax + sum / 2) / sum;
  else
    out.s = (span * kHlsMax + (2 * kRgbMax - sum) / 2) / (2 * kRgbMax - sum);
  const int rd = ((hi - r) * (kHlsMax / 6) + span / 2) / span;
  const int gd = ((hi - g) * (kHlsMax / 6) + span / 2) / span;
  const int bd = ((hi - b) * (kHlsMax / 6) + span / 2) / span;
  if (r == hi)
    out.h = bd - gd;
  else if (g == hi)
    out.h = kHlsMax / 3 + rd - bd;
  else
    out.h = kHlsMax * 2 / 3 + gd - rd;
  if (out.h < 0) out.h += kHlsMax;
  if (out.h >= kHlsMax) out.h -= kHlsMax;
  return out;
}

COLORREF HlsToRgb(int h, int l, int s) {
  h = std::clamp(h, 0, kHlsMax);
  l = std::clamp(l, 0, kHlsMax);
  s = std::clamp(s, 0, kHlsMax);
  if (s == 0) {
    int v = ToByte(l);
    return RGB(v, v, v);
  }
  int m2 = l <= kHlsMax / 2 ? (l * (kHlsMax + s) + kHlsMax / 2) / kHlsMax
                            : l + s - (l * s + kHlsMax / 2) / kHlsMax;
  int m1 = 2 * l - m2;
  return RGB(ToByte(HueToChannel(m1, m2, h + kHlsMax / 3)), ToByte(HueToChannel(m1, m2, h)),
             ToByte(HueToChannel(m1, m2, h - kHlsMax / 3)));
}

// The palette every Windows user has seen in this dialog.
const std::array<COLORREF, 48> kBasicColors = {
    RGB(255, 128, 128), RGB(255, 255, 128), RGB(128, 255, 128), RGB(0, 255, 128),   RGB(128, 255, 255),
    RGB(0, 128, 255),   RGB(255, 128, 192), RGB(255, 128, 255), RGB(255, 0, 0),     RGB(255, 255, 0),
    RGB(128, 255, 0),   RGB(0, 255, 64),    RGB(0, 255, 255),   RGB(0, 128, 192),   RGB(128, 128, 192),
    RGB(255, 0, 255),   RGB(128, 64, 64),   RGB(255, 128, 64),  RGB(0, 255, 0),     RGB(0, 128, 128),
    RGB(0, 64, 128),    RGB(128, 128, 255), RGB(128, 0, 64),    RGB(255, 0, 128),   RGB(128, 0, 0),
    RGB(255, 128, 0),   RGB(0, 128, 0),     RGB(0, 128, 64),    RGB(0, 0, 255),     RGB(0, 0, 160),
    RGB(128, 0, 128),   RGB(128, 0, 255),   RGB(64, 0, 0),      RGB(128, 64, 0),    RGB(0, 64, 0),
    RGB(0, 64, 64),     RGB(0, 0, 128),     RGB(0, 0, 64),      RGB(64, 0, 64),     RGB(64, 0, 128),
    RGB(0, 0, 0),       RGB(128, 128, 0),   RGB(128, 128, 64),  RGB(128, 128, 128), RGB(64, 128, 128),
    RGB(192, 192, 192), RGB(64, 0, 64),     RGB(255, 255, 255),
};

}  // namespace platform::dialogs
