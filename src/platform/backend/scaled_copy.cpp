#include "platform/backend/scaled_copy.h"

#include <algorithm>
#include <cstring>

namespace platform::backend {

void CopyScaled(const gdi::PixelBuffer& src, const RECT& r, void* dst, int pitchBytes, int scale) {
  if (r.right <= r.left || r.bottom <= r.top || scale < 1) return;
  const std::size_t w = static_cast<std::size_t>(r.right - r.left);
  auto* base = static_cast<std::uint8_t*>(dst);
  auto out = [&](LONG row) {
    return reinterpret_cast<std::uint32_t*>(base + static_cast<std::ptrdiff_t>(row) * pitchBytes);
  };
  for (LONG y = r.top; y < r.bottom; ++y) {
    const std::uint32_t* in = src.row(y) + r.left;
    const LONG row = (y - r.top) * scale;
    std::uint32_t* first = out(row);
    if (scale == 1) {
      std::memcpy(first, in, w * 4);
      continue;
    }
    if (scale == 2) {
      for (std::size_t x = 0; x < w; ++x) first[2 * x] = first[2 * x + 1] = in[x];
    } else {
      for (std::size_t x = 0; x < w; ++x) std::fill_n(first + x * scale, scale, in[x]);
    }
    // The other rows of the block repeat the first.
    for (int k = 1; k < scale; ++k) std::memcpy(out(row + k), first, w * scale * 4);
  }
}

}  // namespace platform::backend
