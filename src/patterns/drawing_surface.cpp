#include "patterns/drawing_surface.h"

#include <algorithm>

namespace patterns {

bool ClipSegment(double& x0, double& y0, double& x1, double& y1, double lo, double hiX, double hiY) {
  double t0 = 0.0, t1 = 1.0;
  const double dx = x1 - x0, dy = y1 - y0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 - lo, hiX - x0, y0 - lo, hiY - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
      continue;
    }
    const double r = q[i] / p[i];
    if (p[i] < 0.0) {
      if (r > t1) return false;
      t0 = std::max(t0, r);
    } else {
      if (r < t0) return false;
      t1 = std::min(t1, r);
    }
  }
  const double sx = x0, sy = y0;
  if (t1 < 1.0) {
    x1 = sx + t1 * dx;
    y1 = sy + t1 * dy;
  }
  if (t0 > 0.0) {
    x0 = sx + t0 * dx;
    y0 = sy + t0 * dy;
  }
  return true;
}

}  // namespace patterns
