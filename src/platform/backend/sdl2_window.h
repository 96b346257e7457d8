// One top-level window on the SDL screen: an SDL window showing the layer's
// pixels at an integer scale, without GL. At scale 1 on X11 they go from the
// layer's surface straight to the server (x11_shm.h); otherwise they are
// copied, scaled, to SDL's window surface. Owns the SDL window.
#pragma once

#include <SDL.h>

#include <span>
#include <string>
#include <vector>

#include "platform/backend/x11_shm.h"
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

  // Puts the dirty rectangles on screen (the whole buffer when what the
  // screen holds is not a complete frame), copying just those where a copy
  // is needed. Returns true when this present made the window appear.
  bool Present(const gdi::PixelBuffer& pixels, std::span<const RECT> dirty);
  // Puts the surface on screen again after an expose; false when it holds
  // no complete frame, so the caller must present everything.
  bool Refresh();

 private:
  // Maps the window the first time; true then.
  bool Appear();
  bool PresentThroughSurface(const gdi::PixelBuffer& pixels, std::span<const RECT> dirty);
  void SetModal(bool modal);

  SDL_Window* window_ = nullptr;
  Uint32 id_ = 0;
  int scale_ = 1;
  bool framed_ = true;  // false: a popup the window manager leaves alone
  bool modal_ = false;  // told to the window manager
  std::string title_;
  RECT rect_{0, 0, 0, 0};
  bool shown_ = false;
  bool wanted_ = false;    // to be shown with the next present
  bool complete_ = false;  // the surface holds a whole frame of the current size
  std::vector<SDL_Rect> rects_;
  std::vector<std::uint32_t> scratch_;  // for surfaces not in the layer's pixel layout
  std::unique_ptr<X11ShmPresenter> shm_;
  bool shmTried_ = false;
  bool shmShown_ = false;  // the last present went through shm_
};

}  // namespace platform::backend
