// The SDL2 backend: each visible top-level window is an SDL window showing
// its surface through a streaming texture; SDL events become injected input.
//
// Top-level windows with a caption get a decorated SDL window titled with
// the window text and showing the program's icon; captionless popups
// (drop-down lists) get borderless, taskbar-less windows placed at their
// screen position. Only the dirty part of a surface is uploaded on each
// present. The window the program activates also gets the keyboard.
//
// Sections: window bookkeeping · presenting · events · keyboard focus ·
// attach/detach
#include <SDL.h>

#include <cstdio>
#include <map>

#include "platform/backend/backend.h"
#include "platform/backend/sdl2.h"
#include "platform/backend/sdl2_keys.h"
#include "platform/backend/sdl2_lost_display.h"
#include "platform/backend/window_icon.h"
#include "platform/user/input.h"
#include "platform/user/window.h"

namespace platform::backend {
namespace {

using user::FromHandle;
using user::Window;

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

// Captionless popups are drop-down lists: shown without a frame and never
// activated, like the lists they stand for.
bool Captioned(const Window& w) { return (w.style & WS_CAPTION) == WS_CAPTION || !(w.style & WS_POPUP); }

class Sdl2Backend : public Backend {
 public:
  ~Sdl2Backend() override {
    for (auto& [hwnd, s] : screens_) DestroyScreen(s);
  }

  // --- window bookkeeping ---------------------------------------------------

  void TopLevelCreated(HWND) override {}

  void TopLevelDestroyed(HWND hwnd) override {
    auto it = screens_.find(hwnd);
    if (it == screens_.end()) return;
    const bool hadKeyboard = HasKeyboard(it->second);
    DestroyScreen(it->second);
    screens_.erase(it);
    if (hadKeyboard) GiveKeyboardToActive();
  }

  void TopLevelChanged(HWND hwnd) override {
    if (syncing_) return;  // the change came from SDL itself
    Window* w = FromHandle(hwnd);
    if (!w || w->isChild()) return;
    auto it = screens_.find(hwnd);
    if (!w->visible()) {
      if (it == screens_.end()) return;
      const bool hadKeyboard = HasKeyboard(it->second);
      SDL_HideWindow(it->second.window);
      if (hadKeyboard) GiveKeyboardToActive();
      return;
    }
    if (it == screens_.end()) it = screens_.emplace(hwnd, CreateScreen(*w)).first;
    Screen& s = it->second;
    if (!s.window) return;
    SDL_SetWindowTitle(s.window, w->text.c_str());
    int x, y, cw, ch;
    SDL_GetWindowPosition(s.window, &x, &y);
    SDL_GetWindowSize(s.window, &cw, &ch);
    if (x != w->rect.left || y != w->rect.top) SDL_SetWindowPosition(s.window, w->rect.left, w->rect.top);
    if (cw != w->width() || ch != w->height())
      SDL_SetWindowSize(s.window, std::max(w->width(), 1), std::max(w->height(), 1));
    EnsureTexture(s, *w);
    if (!(SDL_GetWindowFlags(s.window) & SDL_WINDOW_SHOWN)) SDL_ShowWindow(s.window);
    if (user::desktop().active == hwnd) {
      SDL_RaiseWindow(s.window);
      GiveKeyboard(s);
    }
    if (w->surface) w->surface->Touch(0, 0, w->surface->width, w->surface->height);
  }

  // --- presenting -----------------------------------------------------------

  void Present(HWND hwnd, gdi::PixelBuffer& buf) override {
    auto it = screens_.find(hwnd);
    Window* w = FromHandle(hwnd);
    if (it == screens_.end() || !w) return;
    Screen& s = it->second;
    EnsureTexture(s, *w);
    if (!s.texture || buf.width != s.texW || buf.height != s.texH) return;
    RECT d = buf.dirty;
    if (d.right > d.left && d.bottom > d.top) {
      SDL_Rect r{d.left, d.top, d.right - d.left, d.bottom - d.top};
      const std::uint32_t* first = buf.row(d.top) + d.left;
      SDL_UpdateTexture(s.texture, &r, first, buf.width * 4);
    }
    buf.ClearDirty();
    SDL_RenderCopy(s.renderer, s.texture, nullptr, nullptr);
    SDL_RenderPresent(s.renderer);
  }

  // --- events ---------------------------------------------------------------

  void PumpEvents() override {
    SDL_Event ev;
    while (SDL_PollEvent(&ev)) Handle(ev);
  }

  void WaitEvents(int timeoutMs) override {
    SDL_Event ev;
    int got = timeoutMs < 0 ? SDL_WaitEvent(&ev) : SDL_WaitEventTimeout(&ev, timeoutMs);
    if (got) Handle(ev);
    PumpEvents();
  }

  SIZE ScreenSize() const override {
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return SIZE{1280, 1024};
    return SIZE{mode.w, mode.h};
  }

  std::string ClipboardText() const override {
    char* t = SDL_GetClipboardText();
    std::string s = t ? t : "";
    SDL_free(t);
    return s;
  }

  void SetClipboardText(const std::string& text) override { SDL_SetClipboardText(text.c_str()); }

 private:
  struct Screen {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int texW = 0, texH = 0;
  };

  Screen CreateScreen(const Window& w) {
    Screen s;
    Uint32 flags = SDL_WINDOW_HIDDEN;
    const bool captioned = Captioned(w);
    if (!captioned) flags |= SDL_WINDOW_BORDERLESS | SDL_WINDOW_SKIP_TASKBAR | SDL_WINDOW_POPUP_MENU;
    s.window = SDL_CreateWindow(w.text.c_str(), w.rect.left, w.rect.top, std::max(w.width(), 1),
                                std::max(w.height(), 1), flags);
    if (!s.window) {
      // The program goes on without this window; say why nothing shows.
      std::fprintf(stderr, "huiwenfang: cannot open a window for \"%s\": %s\n", w.text.c_str(),
                   SDL_GetError());
      return s;
    }
    if (captioned) SetProgramIcon(s.window);
    if (w.owner)
      if (auto it = screens_.find(w.owner); it != screens_.end() && it->second.window)
        SDL_SetWindowModalFor(s.window, it->second.window);  // keeps dialogs above their owner
    s.renderer = SDL_CreateRenderer(s.window, -1, 0);
    if (!s.renderer) s.renderer = SDL_CreateRenderer(s.window, -1, SDL_RENDERER_SOFTWARE);
    if (!s.renderer)
      std::fprintf(stderr, "huiwenfang: cannot draw into the window \"%s\": %s\n", w.text.c_str(),
                   SDL_GetError());
    byId_[SDL_GetWindowID(s.window)] = w.hwnd;
    return s;
  }

  void EnsureTexture(Screen& s, const Window& w) {
    if (!s.renderer || !w.surface) return;
    if (s.texture && s.texW == w.surface->width && s.texH == w.surface->height) return;
    if (s.texture) SDL_DestroyTexture(s.texture);
    s.texW = w.surface->width;
    s.texH = w.surface->height;
    s.texture = SDL_CreateTexture(s.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                  std::max(s.texW, 1), std::max(s.texH, 1));
    w.surface->Touch(0, 0, s.texW, s.texH);
  }

  void DestroyScreen(Screen& s) {
    if (s.window) byId_.erase(SDL_GetWindowID(s.window));
    if (s.texture) SDL_DestroyTexture(s.texture);
    if (s.renderer) SDL_DestroyRenderer(s.renderer);
    if (s.window) SDL_DestroyWindow(s.window);
    s = Screen{};
  }

  HWND WindowOf(Uint32 id) const {
    auto it = byId_.find(id);
    return it == byId_.end() ? nullptr : it->second;
  }

  // SDL reports positions inside a window; the window manager wants the
  // screen, measured from where the window says it is.
  POINT ToScreen(Uint32 id, int x, int y) const {
    Window* w = FromHandle(WindowOf(id));
    if (!w) return POINT{x, y};
    return POINT{w->rect.left + x, w->rect.top + y};
  }

  void Handle(const SDL_Event& ev) {
    switch (ev.type) {
      case SDL_MOUSEMOTION:
        user::InjectMouseMove(ToScreen(ev.motion.windowID, ev.motion.x, ev.motion.y));
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: {
        user::MouseButton b = ev.button.button == SDL_BUTTON_LEFT    ? user::MouseButton::Left
                              : ev.button.button == SDL_BUTTON_RIGHT ? user::MouseButton::Right
                                                                     : user::MouseButton::Middle;
        user::InjectMouseButton(ToScreen(ev.button.windowID, ev.button.x, ev.button.y), b,
                                ev.type == SDL_MOUSEBUTTONDOWN);
        break;
      }
      case SDL_MOUSEWHEEL: {
        int dy = ev.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -ev.wheel.y : ev.wheel.y;
        user::InjectMouseWheel(user::desktop().cursor, dy * WHEEL_DELTA);
        break;
      }
      case SDL_KEYDOWN:
      case SDL_KEYUP:
        if (UINT vk = VirtualKeyFromSdl(ev.key.keysym.sym)) user::InjectKey(vk, ev.type == SDL_KEYDOWN);
        break;
      case SDL_TEXTINPUT:
        user::InjectText(ev.text.text);
        break;
      case SDL_WINDOWEVENT:
        HandleWindowEvent(ev.window);
        break;
      default:
        // SDL_QUIT follows the close of the last window; WM_CLOSE already
        // carries that decision to the program.
        break;
    }
  }

  void HandleWindowEvent(const SDL_WindowEvent& we) {
    HWND hwnd = WindowOf(we.windowID);
    Window* w = FromHandle(hwnd);
    if (!w) return;
    switch (we.event) {
      case SDL_WINDOWEVENT_CLOSE:
        user::InjectCloseRequest(hwnd);
        break;
      case SDL_WINDOWEVENT_EXPOSED:
        if (w->surface) {
          w->surface->Touch(0, 0, w->surface->width, w->surface->height);
          Present(hwnd, *w->surface);
        }
        break;
      case SDL_WINDOWEVENT_MOVED:
        if (we.data1 != w->rect.left || we.data2 != w->rect.top) {
          syncing_ = true;
          SetWindowPos(hwnd, nullptr, we.data1, we.data2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
          syncing_ = false;
        }
        break;
      case SDL_WINDOWEVENT_FOCUS_GAINED:
        // SDL gives the keyboard to a drop-down list it shows when no window
        // manager runs; the list must not take the activation from the window
        // that opened it, whose focused control answers the keys.
        if (w->enabled() && Captioned(*w) && user::desktop().active != hwnd) {
          syncing_ = true;
          SetActiveWindow(hwnd);
          syncing_ = false;
        }
        break;
      case SDL_WINDOWEVENT_LEAVE:
        // The cursor went off every window: leave tracking must hear it.
        user::InjectMouseMove(POINT{-100000, -100000});
        break;
      default:
        break;
    }
  }

  // --- keyboard focus -------------------------------------------------------

  // Without a window manager SDL hands the keyboard to every window it shows,
  // and nobody hands it back when that window goes: closing a message box or
  // a drop-down list would leave the keyboard with no window at all. The
  // window the program activates takes it instead.
  static bool HasKeyboard(const Screen& s) { return s.window && SDL_GetKeyboardFocus() == s.window; }

  static void GiveKeyboard(const Screen& s) {
    if (s.window && !HasKeyboard(s) && (SDL_GetWindowFlags(s.window) & SDL_WINDOW_SHOWN))
      SDL_SetWindowInputFocus(s.window);
  }

  void GiveKeyboardToActive() {
    auto it = screens_.find(user::desktop().active);
    if (it != screens_.end()) GiveKeyboard(it->second);
  }

  std::map<HWND, Screen> screens_;
  std::map<Uint32, HWND> byId_;
  bool syncing_ = false;
};

}  // namespace
}  // namespace platform::backend

namespace platform {

bool AttachSdl2Backend() {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
  backend::EndProcessOnLostDisplay();
  SDL_StartTextInput();
  backend::Attach(std::make_unique<backend::Sdl2Backend>());
  return true;
}

void DetachSdl2Backend() {
  backend::Attach(nullptr);
  SDL_Quit();
}

}  // namespace platform
