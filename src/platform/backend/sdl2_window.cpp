#include "platform/backend/sdl2_window.h"

#include <algorithm>
#include <cstdio>

#include "platform/backend/scaled_copy.h"
#include "platform/backend/sdl2_x11.h"
#include "platform/backend/window_icon.h"
#include "platform/gdi/prefault.h"
#include "platform/gdi/shared_pixels.h"

namespace platform::backend {
namespace {

// The window manager shows the icon in task lists and title bars. SDL copies
// the pixels, so the surface only borrows the constant picture.
void SetProgramIcon(SDL_Window* window) {
  void* pixels = const_cast<std::uint32_t*>(kWindowIconArgb);
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(pixels, kWindowIconSize, kWindowIconSize, 32,
                                                         kWindowIconSize * 4, SDL_PIXELFORMAT_ARGB8888);
  if (!icon) return;
  SDL_SetWindowIcon(window, icon);
  SDL_FreeSurface(icon);
}

int Width(const RECT& r) { return std::max<int>(r.right - r.left, 1); }
int Height(const RECT& r) { return std::max<int>(r.bottom - r.top, 1); }

// Surfaces whose 32-bit pixels are laid out like the layer's take a plain
// copy; any other layout is converted.
bool SameLayout(const SDL_Surface* s) {
  return s->format->format == SDL_PIXELFORMAT_RGB888 || s->format->format == SDL_PIXELFORMAT_ARGB8888;
}

}  // namespace

Sdl2Window::Sdl2Window(const user::TopLevelState& state, int scale, SDL_Window* owner)
    : scale_(scale), framed_(state.framed), title_(state.title), rect_(state.rect) {
  Uint32 flags = SDL_WINDOW_HIDDEN;
  // Captionless popups are drop-down lists: no frame, no task-bar entry.
  if (!state.framed) flags |= SDL_WINDOW_BORDERLESS | SDL_WINDOW_SKIP_TASKBAR | SDL_WINDOW_POPUP_MENU;
  window_ = SDL_CreateWindow(title_.c_str(), rect_.left * scale_, rect_.top * scale_, Width(rect_) * scale_,
                             Height(rect_) * scale_, flags);
  if (!window_) {
    // The program goes on without this window; say why nothing shows.
    std::fprintf(stderr, "huiwenfang: cannot open a window for \"%s\": %s\n", title_.c_str(), SDL_GetError());
    return;
  }
  id_ = SDL_GetWindowID(window_);
  WriteUtf8WmName(window_, title_);
  if (!state.framed) return;
  SetProgramIcon(window_);
  LimitFrameFunctions(window_, state.minimizable);
  if (owner) {
    // A window manager keeps dialogs above their owner (WM_TRANSIENT_FOR)
    // and gives them a dialog's frame and place.
    SDL_SetWindowModalFor(window_, owner);
    MarkAsDialog(window_);
  }
  SetModal(state.modal);
}

Sdl2Window::~Sdl2Window() {
  shm_.reset();  // its resources live on the window's display
  if (window_) SDL_DestroyWindow(window_);
}

void Sdl2Window::SetModal(bool modal) {
  if (modal == modal_) return;
  modal_ = modal;
  SetModalState(window_, modal, shown_);
}

void Sdl2Window::Apply(const user::TopLevelState& state) {
  if (!window_) return;
  if (framed_) SetModal(state.modal);
  if (!state.visible) {
    if (shown_) SDL_HideWindow(window_);
    shown_ = wanted_ = false;
    return;
  }
  if (state.title != title_) {
    title_ = state.title;
    SDL_SetWindowTitle(window_, title_.c_str());
    WriteUtf8WmName(window_, title_);
  }
  if (state.rect.left != rect_.left || state.rect.top != rect_.top)
    SDL_SetWindowPosition(window_, state.rect.left * scale_, state.rect.top * scale_);
  if (Width(state.rect) != Width(rect_) || Height(state.rect) != Height(rect_)) {
    SDL_SetWindowSize(window_, Width(state.rect) * scale_, Height(state.rect) * scale_);
    complete_ = false;
  }
  rect_ = state.rect;
  wanted_ = true;
}

void Sdl2Window::MovedTo(int screenX, int screenY) {
  // A window manager may place the window between two layer pixels; the
  // layer takes the pixel it starts in.
  const int x = screenX / scale_, y = screenY / scale_;
  rect_ = RECT{x, y, x + (rect_.right - rect_.left), y + (rect_.bottom - rect_.top)};
}

bool Sdl2Window::Appear() {
  if (shown_) return false;
  SDL_ShowWindow(window_);
  // SDL maps a window raised, yet a window manager restacking its own
  // windows meanwhile may have put one over where the list goes.
  if (!framed_) RaiseAboveAll(window_);
  shown_ = true;
  return true;
}

bool Sdl2Window::Present(const gdi::PixelBuffer& pixels, std::span<const RECT> dirty) {
  if (!window_ || !wanted_) return false;
  if (scale_ == 1 && gdi::SharedPixelsId(pixels.pixels.data())) {
    if (!shmTried_) {
      shmTried_ = true;
      shm_ = X11ShmPresenter::For(window_);
    }
    if (shm_) {
      const bool appeared = Appear();
      const RECT whole{0, 0, pixels.width, pixels.height};
      if (shm_->Present(pixels, shmShown_ ? dirty : std::span<const RECT>(&whole, 1))) {
        shmShown_ = true;
        return appeared;
      }
      shmShown_ = false;
      complete_ = false;
      return PresentThroughSurface(pixels, dirty) || appeared;
    }
  }
  shmShown_ = false;
  return PresentThroughSurface(pixels, dirty);
}

bool Sdl2Window::PresentThroughSurface(const gdi::PixelBuffer& pixels, std::span<const RECT> dirty) {
  SDL_Surface* surface = SDL_GetWindowSurface(window_);
  if (!surface) return false;
  const RECT whole{0, 0, pixels.width, pixels.height};
  if (!complete_) dirty = std::span<const RECT>(&whole, 1);
  // The surface matches the buffer unless a resize is still on its way.
  if (surface->w < pixels.width * scale_ || surface->h < pixels.height * scale_) return false;
  if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return false;
  // A new surface is written whole, and the first frame waits on its pages.
  if (!complete_)
    gdi::PrefaultForWriting(surface->pixels, static_cast<std::size_t>(surface->pitch) * surface->h);
  rects_.clear();
  for (RECT r : dirty) {
    r.left = std::max<LONG>(r.left, 0);
    r.top = std::max<LONG>(r.top, 0);
    r.right = std::min<LONG>(r.right, pixels.width);
    r.bottom = std::min<LONG>(r.bottom, pixels.height);
    if (r.right <= r.left || r.bottom <= r.top) continue;
    const int w = (r.right - r.left) * scale_, h = (r.bottom - r.top) * scale_;
    auto* target = static_cast<std::uint8_t*>(surface->pixels) +
                   static_cast<std::ptrdiff_t>(r.top) * scale_ * surface->pitch +
                   static_cast<std::ptrdiff_t>(r.left) * scale_ * surface->format->BytesPerPixel;
    if (SameLayout(surface)) {
      CopyScaled(pixels, r, target, surface->pitch, scale_);
    } else {
      // Scale into a buffer of the layer's layout, then convert.
      scratch_.resize(static_cast<std::size_t>(w) * h);
      CopyScaled(pixels, r, scratch_.data(), w * 4, scale_);
      SDL_ConvertPixels(w, h, SDL_PIXELFORMAT_RGB888, scratch_.data(), w * 4, surface->format->format, target,
                        surface->pitch);
    }
    rects_.push_back(SDL_Rect{static_cast<int>(r.left) * scale_, static_cast<int>(r.top) * scale_, w, h});
  }
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  if (rects_.empty()) return false;
  const bool appears = Appear();
  SDL_UpdateWindowSurfaceRects(window_, rects_.data(), static_cast<int>(rects_.size()));
  complete_ = true;
  return appears;
}

bool Sdl2Window::Refresh() {
  // Shared pixels are put again whole from the layer; nothing is kept here.
  if (!window_ || !complete_ || shmShown_) return false;
  return SDL_UpdateWindowSurface(window_) == 0;
}

}  // namespace platform::backend
