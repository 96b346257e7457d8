// The window's canvas without a window on screen: a picture box of the
// canvas's size on the platform layer, drawing a pattern with the window's
// own raster rules, pixel for pixel what the window shows.
//
// This is the one place where the render command uses the platform layer.
// The layer serves one thread at a time, so the canvas lets one drawing in
// at a time; workers wait their turn here and encode in parallel.
#pragma once

#include <memory>
#include <mutex>

#include "patterns/pattern_code.h"
#include "patterns/picture.h"
#include "platform/win32.h"

namespace runtime {
class PictureBox;
}

namespace render {

class ExactCanvas {
 public:
  // Make it on the thread that ends it; Draw may be called from any thread.
  ExactCanvas();
  ~ExactCanvas();
  ExactCanvas(const ExactCanvas&) = delete;
  ExactCanvas& operator=(const ExactCanvas&) = delete;

  // The canvas after drawing the pattern, its ordinary tile or its seamless
  // one: 201 x 201 pixels. Raises what the generators raise.
  patterns::Picture Draw(const patterns::PatternCode& code, bool seamless = false);

 private:
  std::mutex mutex_;
  HWND parent_ = nullptr;
  std::unique_ptr<runtime::PictureBox> box_;
};

}  // namespace render
