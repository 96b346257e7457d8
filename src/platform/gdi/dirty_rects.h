// The parts of a pixel buffer written since they were last shown, kept as a
// few rectangles: two buttons fading at opposite ends of a window cost two
// small copies to the screen, not one copy of everything between them.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

#include "platform/win32/base.h"

namespace platform::gdi {

class DirtyRects {
 public:
  // More pieces than this are not worth a copy each: the two closest merge.
  static constexpr int kMax = 8;
  // Pieces nearer than this merge at once; the pixels between them cost less
  // than another copy, and strokes drawn pixel by pixel stay one rectangle.
  static constexpr LONG kMergeGap = 32;

  // r must be non-empty and inside the buffer.
  void Add(const RECT& r) {
    // Most writes land in or next to the piece that grew last.
    if (count_ > 0 && Contains(rects_[last_], r)) return;
    RECT grown = r;
    for (int i = 0; i < count_;) {
      if (Near(rects_[i], grown)) {
        grown = Union(rects_[i], grown);
        rects_[i] = rects_[--count_];
        i = 0;  // the grown piece may now reach one already looked at
      } else {
        ++i;
      }
    }
    if (count_ == kMax) MergeCheapestInto(grown);
    rects_[count_] = grown;
    last_ = count_++;
  }

  void Clear() { count_ = 0; }
  bool empty() const { return count_ == 0; }
  std::span<const RECT> rects() const { return {rects_.data(), static_cast<std::size_t>(count_)}; }

  // The smallest rectangle around every piece (empty when nothing is dirty).
  RECT Bounds() const {
    if (count_ == 0) return RECT{0, 0, 0, 0};
    RECT b = rects_[0];
    for (int i = 1; i < count_; ++i) b = Union(b, rects_[i]);
    return b;
  }

 private:
  static bool Contains(const RECT& outer, const RECT& r) {
    return r.left >= outer.left && r.top >= outer.top && r.right <= outer.right && r.bottom <= outer.bottom;
  }
  static bool Near(const RECT& a, const RECT& b) {
    return a.left <= b.right + kMergeGap && b.left <= a.right + kMergeGap && a.top <= b.bottom + kMergeGap &&
           b.top <= a.bottom + kMergeGap;
  }
  static RECT Union(const RECT& a, const RECT& b) {
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
  }
  static std::int64_t Area(const RECT& r) {
    return static_cast<std::int64_t>(r.right - r.left) * static_cast<std::int64_t>(r.bottom - r.top);
  }
  // Full: the new piece takes in the one whose union with it adds the least.
  void MergeCheapestInto(RECT& grown) {
    int best = 0;
    std::int64_t bestCost = INT64_MAX;
    for (int i = 0; i < count_; ++i) {
      const std::int64_t cost = Area(Union(rects_[i], grown)) - Area(rects_[i]);
      if (cost < bestCost) best = i, bestCost = cost;
    }
    grown = Union(rects_[best], grown);
    rects_[best] = rects_[--count_];
  }

  std::array<RECT, kMax> rects_{};
  int count_ = 0;
  int last_ = 0;
};

}  // namespace platform::gdi
