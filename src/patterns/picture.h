// A picture as the drawing surfaces hand it out (Image) and take it back
// (Picture, PaintPicture): an immutable block of pixels shared by reference.
// Copying a Picture is cheap and never copies pixels. A surface may hand out
// its own current image without copying, as long as it clones the pixels
// before it next draws while someone else still holds them (copy on write;
// see PictureData's use_count through the shared pointer).
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace patterns {

// Pixels are 0x00BBGGRR, row by row from the top, width * height of them.
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

  static Picture Solid(int width, int height, std::uint32_t colour);

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
