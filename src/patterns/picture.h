// A picture as the drawing surfaces hand it out (Image) and take it back
// (Picture, PaintPicture): an immutable block of pixels shared by reference.
// Copying a Picture is cheap and never copies pixels. Two ways for a surface
// to keep Image cheap, since the effect picture asks for one per tile:
//   - hand out the same Picture again while nothing was drawn since the last
//     Image (a "changed since snapshot" flag), or
//   - hand out its own buffer and clone it before the next change while a
//     picture still holds it (copy on write through the shared pointer).
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "patterns/numeric.h"

namespace patterns {

constexpr std::uint32_t PixelFromColour(Colour c) {
  const auto u = static_cast<std::uint32_t>(c);
  return ((u & 0xFFu) << 16) | (u & 0xFF00u) | ((u >> 16) & 0xFFu);
}
constexpr Colour ColourFromPixel(std::uint32_t p) {
  return static_cast<Colour>(((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu));
}

// Pixels are 0x00RRGGBB (x8r8g8b8, the layout of the program's raster
// buffers, so a picture box can hand out its pixels without reordering them),
// row by row from the top, width * height of them. Note that colours
// (Colour, 0x00BBGGRR) are in the other order; convert with PixelFromColour.
struct PictureData {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

class Picture {
 public:
  // The empty picture: no pixels; as a background picture it shows nothing.
  Picture() = default;
  explicit Picture(std::shared_ptr<const PictureData> data);

  static Picture Solid(int width, int height, Colour colour);

  bool IsEmpty() const { return !data_ || data_->width <= 0 || data_->height <= 0; }
  int Width() const { return data_ ? data_->width : 0; }
  int Height() const { return data_ ? data_->height : 0; }
  std::span<const std::uint32_t> Pixels() const;
  // Out-of-range coordinates read as 0 rather than running off the buffer.
  std::uint32_t PixelAt(int x, int y) const;

  const std::shared_ptr<const PictureData>& Data() const { return data_; }
  // True when both hold the very same pixel block (not merely equal pixels).
  bool SameImageAs(const Picture& other) const { return data_ && data_ == other.data_; }

 private:
  std::shared_ptr<const PictureData> data_;
};

}  // namespace patterns
