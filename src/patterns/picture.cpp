#include "patterns/picture.h"

#include <utility>

namespace patterns {

Picture::Picture(std::shared_ptr<const PictureData> data) : data_(std::move(data)) {
  // A block whose pixel count disagrees with its size would let readers run
  // off the end; treat it as no picture at all.
  if (data_ && (data_->width < 0 || data_->height < 0 ||
                data_->pixels.size() !=
                    static_cast<std::size_t>(data_->width) * static_cast<std::size_t>(data_->height))) {
    data_.reset();
  }
}

Picture Picture::Solid(int width, int height, Colour colour) {
  if (width <= 0 || height <= 0) return Picture();
  auto data = std::make_shared<PictureData>();
  data->width = width;
  data->height = height;
  data->pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                      PixelFromColour(colour));
  return Picture(std::move(data));
}

std::span<const std::uint32_t> Picture::Pixels() const {
  if (!data_) return {};
  return {data_->pixels.data(), data_->pixels.size()};
}

std::uint32_t Picture::PixelAt(int x, int y) const {
  if (!data_ || x < 0 || y < 0 || x >= data_->width || y >= data_->height) return 0;
  return data_->pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(data_->width) +
                       static_cast<std::size_t>(x)];
}

}  // namespace patterns
