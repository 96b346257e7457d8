// One top-level window on the SDL screen: an SDL window whose pixels come
// from SDL's window surface (software, no GL), the layer's pixels shown at
// an integer scale. Owns the SDL window; moving it destroys nothing twice.
#pragma once

#include <SDL.h>

#include <span>
#include <string>
#include <vector>

#include "platform/gdi/pixel_buffer.h"
#include "platform/user/backend.h"

namespace platform::backend {

class Sdl2Window {
 public:
  // Creates the (hidden) SDL window; ok() says whether that worked. A window
  // with an owner stays above the owner's SDL window.
  Sdl2Window(const user::TopLevelState& state, int scale, SDL_Window* owner);
  ~Sdl2Window();
  Sdl2Window(const Sdl2Window&) = delete;
  Sdl2Window& operator=(const Sdl2Window&) = delete;

  bool ok() const { return window_ != nullptr; }
  SDL_Window* get() const { return window_; }
  Uint32 id() const { return id_; }
  // Where the window is on the screen, in the layer's pixels.
  const RECT& rect() const { return rect_; }

  // Title, position, size and visibility as the state says; SDL is only
  // called for what differs from what it already has. A window to be shown
  // appears with its first present, complete, not before.
  void Apply(const user::TopLevelState& state);
  // Whether the SDL window is on the screen.
  bool shown() const { return shown_; }
  // The window manager moved the window: remember where, in layer pixels.
  void MovedTo(int screenX, int screenY);
  // The surface had to be made anew (the window's size changed).
  void SurfaceLost() { complete_ = false; }

  // Copies the dirty rectangles (the whole buffer when the surface holds no
  // complete frame) to the window surface and updates just those on screen.
  // Returns true when this present made the window appear.
  bool Present(const gdi::PixelBuffer& pixels, std::span<const RECT> dirty);
  // Puts the surface on screen again after an expose; false when it holds
  // no complete frame, so the caller must present everything.
  bool Refresh();

 private:
  SDL_Window* window_ = nullptr;
  Uint32 id_ = 0;
  int scale_ = 1;
  std::string title_;
  RECT rect_{0, 0, 0, 0};
  bool shown_ = false;
  bool wanted_ = false;    // to be shown with the next present
  bool complete_ = false;  // the surface holds a whole frame of the current size
  std::vector<SDL_Rect> rects_;
  std::vector<std::uint32_t> scratch_;  // for surfaces not in the layer's pixel layout
};

}  // namespace platform::backend
