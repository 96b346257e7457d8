// Lines: LineTo and Polyline with the DC's pen and binary raster operation.
#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/gdi/raster.h"

namespace platform::gdi {
namespace {

// On/off run lengths of the cosmetic pen styles.
const std::vector<int>* StylePattern(int style) {
  static const std::vector<int> kDash{18, 6}, kDot{3, 3}, kDashDot{9, 6, 3, 6}, kDashDotDot{9, 3, 3, 3, 3, 3};
  switch (style) {
    case PS_DASH:
      return &kDash;
    case PS_DOT:
      return &kDot;
    case PS_DASHDOT:
      return &kDashDot;
    case PS_DASHDOTDOT:
      return &kDashDotDot;
    default:
      return nullptr;
  }
}

bool PatternOn(const std::vector<int>& pattern, std::int64_t i) {
  int period = 0;
  for (int run : pattern) period += run;
  std::int64_t pos = i % period;
  bool on = true;
  for (int run : pattern) {
    if (pos < run) return on;
    pos -= run;
    on = !on;
  }
  return on;
}

// Products of two 33-bit spans need more than 64 bits.
__extension__ typedef __int128 Wide;

struct Segment {
  std::int64_t x0, y0, x1, y1;
};

// Pixel i of the segment: one step along the major axis per pixel, the
// minor coordinate rounded to nearest (halves toward the start).
void PointAt(const Segment& s, std::int64_t i, std::int64_t* x, std::int64_t* y) {
  std::int64_t dx = s.x1 - s.x0, dy = s.y1 - s.y0;
  std::int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  std::int64_t sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
  if (adx >= ady) {
    *x = s.x0 + sx * i;
    *y = adx == 0 ? s.y0 : s.y0 + sy * static_cast<std::int64_t>((Wide{2} * i * ady + adx - 1) / (2 * adx));
  } else {
    *y = s.y0 + sy * i;
    *x = s.x0 + sx * static_cast<std::int64_t>((Wide{2} * i * adx + ady - 1) / (2 * ady));
  }
}

// Range of steps [first, last) whose major coordinate lies within [lo, hi]
// of the major axis; keeps a line across the whole coordinate space cheap.
void StepRange(const Segment& s, std::int64_t count, std::int64_t lo, std::int64_t hi, std::int64_t* first,
               std::int64_t* last) {
  std::int64_t dx = s.x1 - s.x0, dy = s.y1 - s.y0;
  bool xMajor = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
  std::int64_t start = xMajor ? s.x0 : s.y0;
  std::int64_t dir = xMajor ? (dx < 0 ? -1 : 1) : (dy < 0 ? -1 : 1);
  std::int64_t a = dir > 0 ? lo - start : start - hi;
  std::int64_t b = dir > 0 ? hi - start : start - lo;
  *first = std::max<std::int64_t>(0, a);
  *last = std::min<std::int64_t>(count, b + 1);
}

void DrawSegment(DcObject& dc, const Segment& s) {
  PenObject* pen = LookupPen(dc.st.pen);
  if (!pen || pen->style == PS_NULL || !dc.target || dc.effClip.IsEmpty()) return;
  std::uint8_t idx = Rop2ToRop3(dc.st.rop2);
  std::uint32_t px = DevicePixel(dc, PenColor(dc, *pen));
  std::int64_t offX = std::int64_t{dc.origin.x} + dc.st.viewportOrg.x;
  std::int64_t offY = std::int64_t{dc.origin.y} + dc.st.viewportOrg.y;
  // The clip box in logical coordinates.
  std::int64_t bl = dc.effBox.left - offX, br = dc.effBox.right - offX;
  std::int64_t bt = dc.effBox.top - offY, bb = dc.effBox.bottom - offY;
  std::int64_t dx = s.x1 - s.x0, dy = s.y1 - s.y0;
  std::int64_t steps = std::max(dx < 0 ? -dx : dx, dy < 0 ? -dy : dy);
  bool xMajor = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);

  if (pen->width <= 1) {
    // Cosmetic pen: the last pixel is left for the next segment.
    const std::vector<int>* pattern = StylePattern(pen->style);
    std::uint32_t gap = DevicePixel(dc, dc.st.bkColor);
    std::int64_t first, last;
    StepRange(s, steps, xMajor ? bl : bt, xMajor ? br - 1 : bb - 1, &first, &last);
    for (std::int64_t i = first; i < last; ++i) {
      std::int64_t x, y;
      PointAt(s, i, &x, &y);
      if (pattern && !PatternOn(*pattern, i)) {
        if (dc.st.bkMode == OPAQUE) PlotOp(dc, x + offX, y + offY, gap, idx);
        continue;
      }
      PlotOp(dc, x + offX, y + offY, px, idx);
    }
    return;
  }

  // Wide pen: a round-capped stroke, built as the union of discs along the
  // line. The stroke is convex, so each row is one span.
  std::int64_t w = pen->width;
  double radius = w / 2.0, centre = (w - 1) / 2.0;
  std::vector<std::pair<std::int64_t, std::int64_t>> disc(static_cast<std::size_t>(w));
  for (std::int64_t oy = 0; oy < w; ++oy) {
    double ry = oy - centre;
    double half = std::sqrt(std::max(0.0, radius * radius - ry * ry));
    disc[static_cast<std::size_t>(oy)] = {static_cast<std::int64_t>(std::ceil(centre - half)),
                                          static_cast<std::int64_t>(std::floor(centre + half))};
  }
  std::int64_t lead = static_cast<std::int64_t>(centre);
  std::int64_t first, last;
  StepRange(s, steps + 1, (xMajor ? bl : bt) - w, (xMajor ? br : bb) + w, &first, &last);
  std::int64_t rowTop = std::max(std::min(s.y0, s.y1) - lead, bt);
  std::int64_t rowBottom = std::min(std::max(s.y0, s.y1) - lead + w, bb);
  if (rowBottom <= rowTop || last <= first) return;
  std::vector<std::pair<std::int64_t, std::int64_t>> rows(static_cast<std::size_t>(rowBottom - rowTop),
                                                          {INT64_MAX, INT64_MIN});
  for (std::int64_t i = first; i < last; ++i) {
    std::int64_t x, y;
    PointAt(s, i, &x, &y);
    for (std::int64_t oy = 0; oy < w; ++oy) {
      std::int64_t row = y - lead + oy;
      if (row < rowTop || row >= rowBottom) continue;
      auto& span = rows[static_cast<std::size_t>(row - rowTop)];
      auto [a, b] = disc[static_cast<std::size_t>(oy)];
      if (b < a) continue;
      span.first = std::min(span.first, x - lead + a);
      span.second = std::max(span.second, x - lead + b + 1);
    }
  }
  for (std::int64_t r = rowTop; r < rowBottom; ++r) {
    auto [a, b] = rows[static_cast<std::size_t>(r - rowTop)];
    if (a < b) FillOp(dc, a + offX, r + offY, b + offX, r + 1 + offY, px, idx);
  }
}

}  // namespace
}  // namespace platform::gdi

using namespace platform::gdi;

BOOL WINAPI LineTo(HDC hdc, int x, int y) {
  DcObject* dc = LookupDc(hdc);
  if (!dc) return FALSE;
  DrawSegment(*dc, Segment{dc->st.pos.x, dc->st.pos.y, x, y});
  dc->st.pos = POINT{x, y};
  return TRUE;
}

// Polyline neither uses nor moves the current position.
BOOL WINAPI Polyline(HDC hdc, const POINT* apt, int cpt) {
  DcObject* dc = LookupDc(hdc);
  if (!dc || !apt || cpt < 2) return FALSE;
  for (int i = 0; i + 1 < cpt; ++i) {
    DrawSegment(*dc, Segment{apt[i].x, apt[i].y, apt[i + 1].x, apt[i + 1].y});
  }
  return TRUE;
}
