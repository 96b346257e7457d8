#include "support/doubles/recording_surface.h"

#include <algorithm>

namespace patterns::testing {

RecordingSurface::RecordingSurface(RecordingSurfaceSize size, Colour back) : size_(size), back_(back) {}

void RecordingSurface::Cls() {
  cur_x_ = cur_y_ = 0;
  calls_.push_back({.op = Op::kCls});
}

void RecordingSurface::PSet(float x, float y, Colour colour) {
  cur_x_ = x;
  cur_y_ = y;
  calls_.push_back({.op = Op::kPSet, .x = x, .y = y, .colour = colour});
}

void RecordingSurface::Line(float x, float y, Colour colour) {
  cur_x_ = x;
  cur_y_ = y;
  calls_.push_back({.op = Op::kLine, .x = x, .y = y, .colour = colour});
}

void RecordingSurface::MoveTo(float x, float y) {
  cur_x_ = x;
  cur_y_ = y;
  calls_.push_back({.op = Op::kMoveTo, .x = x, .y = y});
}

void RecordingSurface::SetBackColor(Colour colour) {
  back_ = colour;
  calls_.push_back({.op = Op::kSetBackColor, .colour = colour});
}

void RecordingSurface::SetForeColor(Colour colour) {
  calls_.push_back({.op = Op::kSetForeColor, .colour = colour});
}

Picture RecordingSurface::Image() {
  Picture p = Picture::Solid(size_.pixelWidth, size_.pixelHeight, back_);
  calls_.push_back({.op = Op::kImage, .picture = p});
  return p;
}

void RecordingSurface::SetPicture(const Picture& picture) {
  calls_.push_back({.op = Op::kSetPicture, .picture = picture});
}

void RecordingSurface::PaintPicture(const Picture& picture, float x, float y, float width, float height) {
  calls_.push_back(
      {.op = Op::kPaintPicture, .x = x, .y = y, .width = width, .height = height, .picture = picture});
}

void RecordingSurface::Print(std::string_view text) {
  calls_.push_back({.op = Op::kPrint, .x = cur_x_, .y = cur_y_, .text = std::string(text)});
  cur_x_ = 0;
  cur_y_ += size_.lineHeight;
}

std::size_t RecordingSurface::Count(Op op) const {
  return static_cast<std::size_t>(
      std::count_if(calls_.begin(), calls_.end(), [op](const SurfaceCall& c) { return c.op == op; }));
}

void RecordingSurface::Resize(float scaleWidth, float scaleHeight) {
  size_.scaleWidth = scaleWidth;
  size_.scaleHeight = scaleHeight;
}

}  // namespace patterns::testing
