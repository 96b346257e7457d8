#include <cstdint>
#include <vector>

#include "export/export_error.h"
#include "export/raster_encoders.h"

namespace exporter {
namespace {

constexpr std::uint32_t kHeaderBytes = 14 + 40;
constexpr std::uint32_t kPixelsPerMetre96Dpi = 3780;

void Put(std::uint8_t* p, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

void EncodeBmp(RasterRows& rows, ByteSink& sink) {
  const int w = rows.Width(), h = rows.Height();
  if (w <= 0 || h <= 0) throw ExportError("a bitmap needs a width and a height");
  const std::uint64_t stride = (static_cast<std::uint64_t>(w) * 3 + 3) & ~std::uint64_t{3};
  const std::uint64_t image = stride * static_cast<std::uint64_t>(h);
  if (image > UINT32_MAX - kHeaderBytes || w > INT32_MAX || h > INT32_MAX)
    throw ExportError("the picture is too large for a bitmap file (at most 4 GiB)");

  std::uint8_t head[kHeaderBytes] = {'B', 'M'};
  Put(head + 2, static_cast<std::uint32_t>(kHeaderBytes + image), 4);
  Put(head + 10, kHeaderBytes, 4);
  Put(head + 14, 40, 4);
  Put(head + 18, static_cast<std::uint32_t>(w), 4);
  Put(head + 22, static_cast<std::uint32_t>(h), 4);  // positive: bottom row first
  Put(head + 26, 1, 2);                              // planes
  Put(head + 28, 24, 2);                             // bits per pixel
  Put(head + 34, static_cast<std::uint32_t>(image), 4);
  Put(head + 38, kPixelsPerMetre96Dpi, 4);
  Put(head + 42, kPixelsPerMetre96Dpi, 4);
  sink.Write(head, sizeof head);

  std::vector<std::uint8_t> out(stride, 0);
  for (int y = h - 1; y >= 0; --y) {
    const std::uint32_t* src = rows.Row(y);
    for (int x = 0; x < w; ++x) {
      const std::uint32_t p = src[x];
      out[3 * x] = static_cast<std::uint8_t>(p);
      out[3 * x + 1] = static_cast<std::uint8_t>(p >> 8);
      out[3 * x + 2] = static_cast<std::uint8_t>(p >> 16);
    }
    sink.Write(out.data(), out.size());
  }
}

}  // namespace exporter
