// Putting a window's pixels on an X11 screen with MIT-SHM straight from the
// layer's surface, when that surface lives in shared memory
// (gdi/shared_pixels.h): no copy into a window surface of SDL's, and no
// second window-sized buffer. Only at scale 1, and only for windows whose
// visual lays out pixels as the layer does; otherwise SDL's window surface
// serves.
#pragma once

#include <SDL.h>

#include <memory>
#include <span>

#include "platform/gdi/pixel_buffer.h"

namespace platform::backend {

class X11ShmPresenter {
 public:
  // nullptr where this way is not open: not X11, no MIT-SHM, another visual.
  static std::unique_ptr<X11ShmPresenter> For(SDL_Window* window);
  ~X11ShmPresenter();
  X11ShmPresenter(const X11ShmPresenter&) = delete;
  X11ShmPresenter& operator=(const X11ShmPresenter&) = delete;

  // Puts the rectangles on screen and waits until the server has read them,
  // so the layer may draw again at once. False, with nothing done, when the
  // pixels are not in shared memory or the server cannot read them.
  bool Present(const gdi::PixelBuffer& pixels, std::span<const RECT> dirty);

  struct Xlib;  // the functions, looked up in the Xlib SDL loaded

 private:
  X11ShmPresenter() = default;
  bool Attach(const gdi::PixelBuffer& pixels, int shmid);
  void Detach();

  const Xlib* x_ = nullptr;
  void* display_ = nullptr;  // Display*
  unsigned long window_ = 0;
  void* visual_ = nullptr;  // Visual*
  int depth_ = 0;
  void* gc_ = nullptr;       // GC
  void* image_ = nullptr;    // XImage*
  void* segment_ = nullptr;  // XShmSegmentInfo*
  int shmid_ = -1;
  const void* attached_ = nullptr;  // the pixels the image stands for
  int width_ = 0, height_ = 0;
  bool failed_ = false;  // the server refused a segment: never again
};

}  // namespace platform::backend
