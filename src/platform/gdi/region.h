// Region: a set of pixels described by disjoint rectangles, the value type
// behind HRGN, clip regions and window update regions.
#pragma once

#include <vector>

#include "platform/win32/base.h"

namespace platform::gdi {

class Region {
 public:
  Region() = default;                                       // empty
  explicit Region(const RECT& r);                           // empty if r is empty or reversed
  static Region FromRects(const std::vector<RECT>& rects);  // union of rects
  // The pixel set of Win32's CreateRoundRectRgn(l, t, r, b, w, h).
  static Region RoundRect(int left, int top, int right, int bottom, int ellipseW, int ellipseH);

  bool IsEmpty() const { return rects_.empty(); }
  RECT Box() const;  // {0,0,0,0} when empty
  bool Contains(int x, int y) const;
  bool Intersects(const RECT& r) const;
  void Offset(int dx, int dy);

  Region Union(const Region& o) const;
  Region Intersect(const Region& o) const;
  Region Subtract(const Region& o) const;
  Region Xor(const Region& o) const;
  bool operator==(const Region& o) const;

  // Disjoint rectangles in y-then-x order (banded: rectangles of one band
  // share top and bottom). Right and bottom are exclusive.
  const std::vector<RECT>& Rects() const { return rects_; }

 private:
  std::vector<RECT> rects_;
};

}  // namespace platform::gdi
