#include "platform/gdi/region.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace platform::gdi {
namespace {

struct Span {
  LONG left;
  LONG right;
};

bool RectEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

LONG ClampToLong(std::int64_t v) {
  return static_cast<LONG>(
      std::clamp<std::int64_t>(v, std::numeric_limits<LONG>::min(), std::numeric_limits<LONG>::max()));
}

// Appends one band, merging it into the previous band when that one ends
// where this one starts with the same spans: the canonical form keeps
// operator== a plain comparison of rectangle lists.
void AppendBand(std::vector<RECT>& out, LONG top, LONG bottom, const std::vector<Span>& spans) {
  if (spans.empty() || bottom <= top) return;
  if (!out.empty() && out.back().bottom == top) {
    LONG prevTop = out.back().top;
    std::size_t first = out.size();
    while (first > 0 && out[first - 1].top == prevTop) --first;
    std::size_t count = out.size() - first;
    bool same = count == spans.size();
    for (std::size_t i = 0; same && i < count; ++i) {
      same = out[first + i].left == spans[i].left && out[first + i].right == spans[i].right;
    }
    if (same) {
      for (std::size_t i = first; i < out.size(); ++i) out[i].bottom = bottom;
      return;
    }
  }
  for (const Span& s : spans) out.push_back(RECT{s.left, top, s.right, bottom});
}

enum class Op { Union, Intersect, Subtract, Xor };

bool Apply(Op op, bool a, bool b) {
  switch (op) {
    case Op::Union:
      return a || b;
    case Op::Intersect:
      return a && b;
    case Op::Subtract:
      return a && !b;
    case Op::Xor:
      return a != b;
  }
  return false;
}

// Spans of a banded rectangle list that cover the band starting at y.
// `cursor` walks forward through the bands as y grows.
void SpansAt(const std::vector<RECT>& rects, std::size_t& cursor, LONG y, std::vector<Span>& out) {
  out.clear();
  while (cursor < rects.size() && rects[cursor].bottom <= y) ++cursor;
  if (cursor >= rects.size() || rects[cursor].top > y) return;
  LONG bandTop = rects[cursor].top;
  for (std::size_t i = cursor; i < rects.size() && rects[i].top == bandTop; ++i) {
    out.push_back(Span{rects[i].left, rects[i].right});
  }
}

void CombineSpans(Op op, const std::vector<Span>& a, const std::vector<Span>& b, std::vector<Span>& out) {
  out.clear();
  std::vector<LONG> xs;
  xs.reserve((a.size() + b.size()) * 2);
  for (const Span& s : a) xs.insert(xs.end(), {s.left, s.right});
  for (const Span& s : b) xs.insert(xs.end(), {s.left, s.right});
  std::sort(xs.begin(), xs.end());
  xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
  std::size_t ia = 0, ib = 0;
  for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
    LONG x0 = xs[i], x1 = xs[i + 1];
    while (ia < a.size() && a[ia].right <= x0) ++ia;
    while (ib < b.size() && b[ib].right <= x0) ++ib;
    bool inA = ia < a.size() && a[ia].left <= x0;
    bool inB = ib < b.size() && b[ib].left <= x0;
    if (!Apply(op, inA, inB)) continue;
    if (!out.empty() && out.back().right == x0) {
      out.back().right = x1;
    } else {
      out.push_back(Span{x0, x1});
    }
  }
}

std::vector<RECT> Combine(Op op, const std::vector<RECT>& a, const std::vector<RECT>& b) {
  std::vector<LONG> ys;
  ys.reserve((a.size() + b.size()) * 2);
  for (const RECT& r : a) ys.insert(ys.end(), {r.top, r.bottom});
  for (const RECT& r : b) ys.insert(ys.end(), {r.top, r.bottom});
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

  std::vector<RECT> out;
  std::vector<Span> sa, sb, sr;
  std::size_t ca = 0, cb = 0;
  for (std::size_t i = 0; i + 1 < ys.size(); ++i) {
    SpansAt(a, ca, ys[i], sa);
    SpansAt(b, cb, ys[i], sb);
    CombineSpans(op, sa, sb, sr);
    AppendBand(out, ys[i], ys[i + 1], sr);
  }
  return out;
}

}  // namespace

Region::Region(const RECT& r) {
  if (!RectEmpty(r)) rects_.push_back(r);
}

Region Region::FromRects(const std::vector<RECT>& rects) {
  Region out;
  for (const RECT& r : rects) out = out.Union(Region(r));
  return out;
}

// Win32's round-rectangle regions leave out the right column and bottom row
// of the rectangle they are given: CreateRoundRectRgn(0, 0, 76, 26, 3, 3) is
// the region of a 75 x 25 window, which is why callers pass width + 1 and
// height + 1. Each corner is the quarter of an ellipse of ellipseW x
// ellipseH whose outline runs through the centres of the outermost pixels of
// the corner box; a pixel belongs to the region when its centre lies on or
// inside that ellipse. With 3 x 3 this cuts exactly the four corner pixels.
Region Region::RoundRect(int left, int top, int right, int bottom, int ellipseW, int ellipseH) {
  std::int64_t l = std::min(left, right), r = std::max(left, right);
  std::int64_t t = std::min(top, bottom), b = std::max(top, bottom);
  std::int64_t w = r - l - 1, h = b - t - 1;
  Region out;
  if (w <= 0 || h <= 0) return out;
  // Bound the corner size so that building the region stays cheap even for
  // absurd arguments; such corners are flat for any real window anyway.
  constexpr std::int64_t kMaxEllipse = 1 << 16;
  std::int64_t ew =
      std::min<std::int64_t>({std::abs(static_cast<std::int64_t>(ellipseW)), r - l, kMaxEllipse});
  std::int64_t eh =
      std::min<std::int64_t>({std::abs(static_cast<std::int64_t>(ellipseH)), b - t, kMaxEllipse});
  double ra = ew >= 2 ? (ew - 1) / 2.0 : 0.0;
  double rb = eh >= 2 ? (eh - 1) / 2.0 : 0.0;
  if (ra <= 0.0 || rb <= 0.0)
    return Region(RECT{ClampToLong(l), ClampToLong(t), ClampToLong(l + w), ClampToLong(t + h)});

  // Rows strictly above the ellipse centre are the rounded ones.
  std::int64_t cornerRows = std::min<std::int64_t>(static_cast<std::int64_t>(std::ceil(rb)), (h + 1) / 2);
  std::vector<std::int64_t> inset(static_cast<std::size_t>(cornerRows));
  for (std::int64_t i = 0; i < cornerRows; ++i) {
    double dy = rb - static_cast<double>(i);
    double q = 1.0 - (dy / rb) * (dy / rb);
    double extent = q > 0.0 ? ra * std::sqrt(q) : 0.0;
    std::int64_t in = static_cast<std::int64_t>(std::ceil(ra - extent - 1e-9));
    inset[static_cast<std::size_t>(i)] = std::clamp<std::int64_t>(in, 0, (w - 1) / 2);
  }
  auto band = [&](std::int64_t y0, std::int64_t y1, std::int64_t in) {
    std::vector<Span> spans{Span{ClampToLong(l + in), ClampToLong(l + w - in)}};
    AppendBand(out.rects_, ClampToLong(t + y0), ClampToLong(t + y1), spans);
  };
  for (std::int64_t i = 0; i < cornerRows; ++i) band(i, i + 1, inset[static_cast<std::size_t>(i)]);
  if (h - cornerRows > cornerRows) band(cornerRows, h - cornerRows, 0);
  for (std::int64_t i = std::max(cornerRows, h - cornerRows); i < h; ++i) {
    band(i, i + 1, inset[static_cast<std::size_t>(h - 1 - i)]);
  }
  return out;
}

RECT Region::Box() const {
  if (rects_.empty()) return RECT{0, 0, 0, 0};
  RECT box{rects_.front().left, rects_.front().top, rects_.front().right, rects_.back().bottom};
  for (const RECT& r : rects_) {
    box.left = std::min(box.left, r.left);
    box.right = std::max(box.right, r.right);
  }
  return box;
}

bool Region::Contains(int x, int y) const {
  for (const RECT& r : rects_) {
    if (r.top > y) break;
    if (y < r.bottom && x >= r.left && x < r.right) return true;
  }
  return false;
}

bool Region::Intersects(const RECT& q) const {
  if (RectEmpty(q)) return false;
  for (const RECT& r : rects_) {
    if (r.top >= q.bottom) break;
    if (r.bottom > q.top && r.left < q.right && r.right > q.left) return true;
  }
  return false;
}

void Region::Offset(int dx, int dy) {
  for (RECT& r : rects_) {
    r.left = ClampToLong(static_cast<std::int64_t>(r.left) + dx);
    r.right = ClampToLong(static_cast<std::int64_t>(r.right) + dx);
    r.top = ClampToLong(static_cast<std::int64_t>(r.top) + dy);
    r.bottom = ClampToLong(static_cast<std::int64_t>(r.bottom) + dy);
  }
  // Clamping at the edge of the coordinate space can flatten rectangles;
  // rebuilding drops them and restores the canonical form.
  bool degenerate = std::any_of(rects_.begin(), rects_.end(), RectEmpty);
  if (degenerate) {
    std::vector<RECT> kept;
    for (const RECT& r : rects_) {
      if (!RectEmpty(r)) kept.push_back(r);
    }
    *this = FromRects(kept);
  }
}

Region Region::Union(const Region& o) const {
  Region out;
  out.rects_ = Combine(Op::Union, rects_, o.rects_);
  return out;
}

Region Region::Intersect(const Region& o) const {
  Region out;
  out.rects_ = Combine(Op::Intersect, rects_, o.rects_);
  return out;
}

Region Region::Subtract(const Region& o) const {
  Region out;
  out.rects_ = Combine(Op::Subtract, rects_, o.rects_);
  return out;
}

Region Region::Xor(const Region& o) const {
  Region out;
  out.rects_ = Combine(Op::Xor, rects_, o.rects_);
  return out;
}

bool Region::operator==(const Region& o) const {
  if (rects_.size() != o.rects_.size()) return false;
  for (std::size_t i = 0; i < rects_.size(); ++i) {
    const RECT& a = rects_[i];
    const RECT& b = o.rects_[i];
    if (a.left != b.left || a.top != b.top || a.right != b.right || a.bottom != b.bottom) return false;
  }
  return true;
}

}  // namespace platform::gdi
