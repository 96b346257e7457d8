// A 32-bit pixel buffer: the storage of bitmaps and of top-level window
// surfaces alike.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdi/dirty_rects.h"
#include "platform/gdi/prefault.h"
#include "platform/win32/base.h"

namespace platform::gdi {

// Pixels are 0x00RRGGBB (x8r8g8b8, what SDL and pixman call RGB888/x8r8g8b8),
// row-major with stride == width. COLORREF (0x00BBGGRR) is converted at the
// edges by ToPixel/ToColorRef.
struct PixelBuffer {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t, PixelAllocator<std::uint32_t>> pixels;

  // What was written since the owner last presented the buffer, so that
  // only changed areas reach the screen.
  DirtyRects dirty;

  PixelBuffer() = default;
  PixelBuffer(int w, int h, std::uint32_t fill = 0)
      : PixelBuffer(w, h, fill, PixelAllocator<std::uint32_t>()) {}
  PixelBuffer(int w, int h, std::uint32_t fill, const PixelAllocator<std::uint32_t>& alloc)
      : width(std::max(w, 0)),
        height(std::max(h, 0)),
        pixels(static_cast<std::size_t>(std::max(w, 0)) * static_cast<std::size_t>(std::max(h, 0)), fill,
               alloc) {}

  // The surface of a top-level window: kept where the screen can read it
  // (shared_pixels.h).
  static std::shared_ptr<PixelBuffer> ForScreen(int w, int h, std::uint32_t fill) {
    return std::make_shared<PixelBuffer>(w, h, fill, PixelAllocator<std::uint32_t>(true));
  }

  std::uint32_t* row(int y) { return pixels.data() + static_cast<std::size_t>(y) * width; }
  const std::uint32_t* row(int y) const { return pixels.data() + static_cast<std::size_t>(y) * width; }

  // Every drawing operation that writes into the buffer reports the area it
  // wrote (buffer coordinates, right/bottom exclusive).
  void Touch(int left, int top, int right, int bottom) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width);
    bottom = std::min(bottom, height);
    if (right <= left || bottom <= top) return;
    dirty.Add(RECT{left, top, right, bottom});
  }
  void ClearDirty() { dirty.Clear(); }
};

constexpr std::uint32_t ToPixel(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }
constexpr COLORREF ToColorRef(std::uint32_t p) {
  return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}

}  // namespace platform::gdi
