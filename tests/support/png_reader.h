// Reads PNG bytes back into pixels with cairo's own reader, an independent
// decoder for checking what the file engine writes.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace hwf::test {

struct Decoded {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

inline Decoded DecodePng(const std::vector<std::uint8_t>& bytes) {
  struct Reader {
    const std::vector<std::uint8_t>* bytes;
    std::size_t at;
  } reader{&bytes, 0};
  const auto read = [](void* closure, unsigned char* data, unsigned int length) {
    auto* r = static_cast<Reader*>(closure);
    if (r->at + length > r->bytes->size()) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, r->bytes->data() + r->at, length);
    r->at += length;
    return CAIRO_STATUS_SUCCESS;
  };
  cairo_surface_t* s = cairo_image_surface_create_from_png_stream(read, &reader);
  Decoded d;
  if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
    d.width = cairo_image_surface_get_width(s);
    d.height = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    d.pixels.resize(static_cast<std::size_t>(d.width) * d.height);
    for (int y = 0; y < d.height; ++y) {
      const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
      for (int x = 0; x < d.width; ++x)
        d.pixels[static_cast<std::size_t>(y) * d.width + x] = row[x] & 0xFFFFFF;
    }
  }
  cairo_surface_destroy(s);
  return d;
}

inline std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace hwf::test
