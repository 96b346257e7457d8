// A small, independent reader of 24-bit bottom-up bitmaps, so the writer's
// output is checked by parsing it rather than by comparing it with itself.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace hwf::test {

inline std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
inline std::uint16_t Le16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

struct DecodedBmp {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, top row first
};

// nullopt for anything that is not a well-formed uncompressed 24-bit file.
inline std::optional<DecodedBmp> DecodeBmp24(const std::vector<std::uint8_t>& b) {
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
  if (Le32(b, 2) != b.size() || Le32(b, 14) != 40) return std::nullopt;
  if (Le16(b, 26) != 1 || Le16(b, 28) != 24 || Le32(b, 30) != 0) return std::nullopt;
  const auto w = static_cast<std::int32_t>(Le32(b, 18));
  const auto h = static_cast<std::int32_t>(Le32(b, 22));
  if (w <= 0 || h <= 0) return std::nullopt;
  const std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) / 4 * 4;
  const std::size_t offset = Le32(b, 10);
  if (offset + stride * h != b.size()) return std::nullopt;
  DecodedBmp out{w, h, {}};
  out.pixels.resize(static_cast<std::size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* row = b.data() + offset + static_cast<std::size_t>(h - 1 - y) * stride;
    for (int x = 0; x < w; ++x) {
      out.pixels[static_cast<std::size_t>(y) * w + x] =
          (row[3 * x + 2] << 16) | (row[3 * x + 1] << 8) | row[3 * x];
    }
  }
  return out;
}

}  // namespace hwf::test
