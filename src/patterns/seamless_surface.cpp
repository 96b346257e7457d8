#include "patterns/seamless_surface.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "patterns/curve_pattern.h"
#include "patterns/runtime_error.h"

namespace patterns {
namespace {

constexpr double kCell = kCanvasPixels;
// Cell (i, j) shows canvas pixels 201i - 0.5 to 201i + 200.5; a one-pixel
// line inks it when it comes within a pixel of that (half its width, or the
// rounding of its ends to pixels and the half pixel of a stepped line), and
// half a pixel more keeps rounding in the arithmetic below on the safe side.
constexpr double kNear = 0.5 + 1.0;

// Cells [first, last] of one axis whose band the interval [lo, hi] touches.
void CellRange(double lo, double hi, int& first, int& last) {
  first = static_cast<int>(std::ceil((lo - (kCell - 0.5) - kNear) / kCell));
  last = static_cast<int>(std::floor((hi + 0.5 + kNear) / kCell));
}

void CheckReach(float x, float y) {
  if (!(std::fabs(x) <= kSeamlessReach && std::fabs(y) <= kSeamlessReach)) Raise(kErrOverflow);
}

// v moved back by `cells` whole cells. Done in double, where it is exact;
// when the float the canvas takes cannot hold the result, it goes down to the
// next 1/256 of a pixel instead, which every float below kSeamlessReach can
// hold: every half pixel lies on that grid, so the result still rounds to the
// very pixel v - 201 x cells rounds to, and a copy is never off by one.
float Moved(float v, int cells) {
  if (cells == 0) return v;
  const double moved = static_cast<double>(v) - kCell * cells;
  const auto f = static_cast<float>(moved);
  if (static_cast<double>(f) == moved) return f;
  return static_cast<float>(std::floor(moved * 256.0) / 256.0);
}

[[noreturn]] void NotOnATorus(const char* what) {
  throw std::logic_error(std::string("a seamless tile wraps curves, not ") + what);
}

}  // namespace

void CellsReached(double x0, double y0, double x1, double y1, std::vector<TileCell>& cells) {
  cells.clear();
  int top = 0, bottom = 0;
  CellRange(std::min(y0, y1), std::max(y0, y1), top, bottom);
  const double dx = x1 - x0, dy = y1 - y0;
  for (int j = top; j <= bottom; ++j) {
    // The part of the segment inside row j's band, widened as the cells are.
    double t0 = 0.0, t1 = 1.0;
    if (dy != 0.0) {
      const double lo = kCell * j - 0.5 - kNear, hi = kCell * j + kCell - 0.5 + kNear;
      const double ta = (lo - y0) / dy, tb = (hi - y0) / dy;
      t0 = std::max(0.0, std::min(ta, tb));
      t1 = std::min(1.0, std::max(ta, tb));
      if (t0 > t1) continue;
    }
    const double xa = x0 + t0 * dx, xb = x0 + t1 * dx;
    int left = 0, right = 0;
    CellRange(std::min(xa, xb), std::max(xa, xb), left, right);
    for (int i = left; i <= right; ++i) cells.push_back({i, j});
  }
}

void SeamlessSurface::Flush() {
  if (!dot_held_) return;
  dot_held_ = false;
  CellsReached(cur_x_, cur_y_, cur_x_, cur_y_, cells_);
  for (const TileCell& c : cells_) canvas_.PSet(Moved(cur_x_, c.i), Moved(cur_y_, c.j), dot_colour_);
  // The canvas's position is that of the last copy; ours is the dot's.
}

void SeamlessSurface::Cls() {
  // What Cls erases need not be drawn first.
  dot_held_ = false;
  cur_x_ = cur_y_ = 0;
  canvas_.Cls();
}

void SeamlessSurface::PSet(float x, float y, Colour colour) {
  CheckReach(x, y);
  Flush();
  cur_x_ = x;
  cur_y_ = y;
  dot_held_ = true;
  dot_colour_ = colour;
}

void SeamlessSurface::Line(float x, float y, Colour colour) {
  CheckReach(x, y);
  const float x0 = cur_x_, y0 = cur_y_;
  cur_x_ = x;
  cur_y_ = y;
  // The dot goes only where it can show: a cairo canvas strokes what it has
  // gathered at every dot, so a needless one would cut its path in two.
  if (dot_held_) CellsReached(x0, y0, x0, y0, dot_cells_);
  CellsReached(x0, y0, x, y, cells_);
  for (const TileCell& c : cells_) {
    const float sx = Moved(x0, c.i), sy = Moved(y0, c.j);
    if (dot_held_ && std::find(dot_cells_.begin(), dot_cells_.end(), c) != dot_cells_.end()) {
      canvas_.PSet(sx, sy, dot_colour_);
    } else {
      canvas_.MoveTo(sx, sy);
    }
    canvas_.Line(Moved(x, c.i), Moved(y, c.j), colour);
  }
  dot_held_ = false;
}

void SeamlessSurface::MoveTo(float x, float y) {
  CheckReach(x, y);
  Flush();
  cur_x_ = x;
  cur_y_ = y;
}

void SeamlessSurface::SetBackColor(Colour colour) {
  // Setting the background erases the drawing, the held dot with it.
  dot_held_ = false;
  canvas_.SetBackColor(colour);
}

Picture SeamlessSurface::Image() {
  Flush();
  return canvas_.Image();
}

void SeamlessSurface::SetPicture(const Picture&) { NotOnATorus("background picture"); }
void SeamlessSurface::PaintPicture(const Picture&, float, float, float, float) { NotOnATorus("pictures"); }
void SeamlessSurface::Print(std::string_view) { NotOnATorus("text"); }

void DrawSeamlessPattern(DrawingSurface& canvas, const PatternCode& code) {
  SeamlessSurface torus(canvas);
  DrawPattern(torus, code);
  torus.Flush();
}

}  // namespace patterns
