// The SDL2 backend: each visible top-level window is an SDL window showing
// the layer's pixels through SDL's window surface (no renderer, no GL), at
// the integer HiDPI scale; SDL events become injected input.
//
// Top-level windows with a caption get a decorated SDL window titled with
// the window text and showing the program's icon; captionless popups
// (drop-down lists) get borderless, taskbar-less windows placed at their
// screen position. Only the dirty rectangles are copied on each present.
// The window the program activates also gets the keyboard.
//
// Everything the backend knows about a window it was told
// (user::TopLevelState); it answers through the public API and input.h.
//
// Sections: window bookkeeping · presenting · events · keyboard focus ·
// attach/detach
#include <SDL.h>

#include <cstdlib>
#include <map>
#include <memory>

#include "platform/backend/display_scale.h"
#include "platform/backend/headless.h"
#include "platform/backend/sdl2.h"
#include "platform/backend/sdl2_keys.h"
#include "platform/backend/sdl2_lost_display.h"
#include "platform/backend/sdl2_window.h"
#include "platform/backend/sdl2_x11.h"
#include "platform/backend/video_driver.h"
#include "platform/gdi/font_resolve.h"
#include "platform/gdi/shared_pixels.h"
#include "platform/user/backend.h"
#include "platform/user/input.h"

namespace platform::backend {
namespace {

using user::TopLevelState;

class Sdl2Backend : public user::Backend {
 public:
  explicit Sdl2Backend(int scale) : scale_(scale) {}

  ~Sdl2Backend() override {
    windows_.clear();
    for (auto& [shape, cursor] : cursors_) SDL_FreeCursor(cursor);
  }

  // --- window bookkeeping ---------------------------------------------------

  void TopLevelChanged(HWND hwnd, const TopLevelState& state) override {
    if (state.active)
      active_ = hwnd;
    else if (active_ == hwnd)
      active_ = nullptr;
    auto it = windows_.find(hwnd);
    if (it == windows_.end()) {
      if (!state.visible) return;  // an SDL window only once there is something to show
      SDL_Window* owner = nullptr;
      if (auto o = windows_.find(state.owner); o != windows_.end()) owner = o->second->get();
      auto w = std::make_unique<Sdl2Window>(state, scale_, owner);
      if (w->ok()) byId_[w->id()] = hwnd;
      it = windows_.emplace(hwnd, std::move(w)).first;
    }
    Sdl2Window& w = *it->second;
    const bool hadKeyboard = HasKeyboard(w);
    w.Apply(state);
    if (!state.visible) {
      if (hadKeyboard) GiveKeyboardToActive();
      return;
    }
    if (state.active && w.shown()) Activate(w);
  }

  void TopLevelDestroyed(HWND hwnd) override {
    auto it = windows_.find(hwnd);
    if (active_ == hwnd) active_ = nullptr;
    if (it == windows_.end()) return;
    const bool hadKeyboard = HasKeyboard(*it->second);
    byId_.erase(it->second->id());
    windows_.erase(it);
    if (hadKeyboard) GiveKeyboardToActive();
  }

  // --- presenting -----------------------------------------------------------

  void Present(HWND hwnd, const gdi::PixelBuffer& pixels, std::span<const RECT> dirty) override {
    Sdl2Window* w = ScreenOf(hwnd);
    // A window appears with its first frame; the active one then takes the
    // keyboard it could not take while it was not on the screen.
    if (w && w->Present(pixels, dirty) && active_ == hwnd) Activate(*w);
  }

  void SetCursorShape(user::CursorShape shape) override {
    if (shape == cursorShape_) return;
    cursorShape_ = shape;
    SDL_Cursor*& cursor = cursors_[shape];
    if (!cursor) cursor = SDL_CreateSystemCursor(SystemCursor(shape));
    if (cursor) SDL_SetCursor(cursor);
  }

  // --- events ---------------------------------------------------------------

  void PumpEvents() override {
    // Reading the display costs several system calls, and the message loop
    // asks before every message it takes: a fading button's tick would read
    // it three times. Within a millisecond nothing can have come that is
    // worth that; what SDL already holds is handed on at once.
    const Uint64 now = SDL_GetTicks64();
    if (now != lastRead_) {
      lastRead_ = now;
      SDL_PumpEvents();
    }
    HandleQueued();
  }

  bool WaitEvents(int timeoutMs) override {
    SDL_Event ev;
    int got = timeoutMs < 0 ? SDL_WaitEvent(&ev) : SDL_WaitEventTimeout(&ev, timeoutMs);
    lastRead_ = SDL_GetTicks64();  // the wait has just read the display
    if (got) Handle(ev);
    HandleQueued();
    return true;
  }

  SIZE ScreenSize() const override {
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return SIZE{1, 1};
    return SIZE{mode.w / scale_, mode.h / scale_};
  }

  std::string ClipboardText() const override {
    char* t = SDL_GetClipboardText();
    std::string s = t ? t : "";
    SDL_free(t);
    return s;
  }

  void SetClipboardText(const std::string& text) override { SDL_SetClipboardText(text.c_str()); }

 private:
  void HandleQueued() {
    SDL_Event ev;
    while (SDL_PeepEvents(&ev, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) Handle(ev);
  }

  static SDL_SystemCursor SystemCursor(user::CursorShape shape) {
    switch (shape) {
      case user::CursorShape::IBeam:
        return SDL_SYSTEM_CURSOR_IBEAM;
      case user::CursorShape::Wait:
        return SDL_SYSTEM_CURSOR_WAIT;
      case user::CursorShape::Hand:
        return SDL_SYSTEM_CURSOR_HAND;
      case user::CursorShape::Arrow:
        break;
    }
    return SDL_SYSTEM_CURSOR_ARROW;
  }

  HWND WindowOf(Uint32 id) const {
    auto it = byId_.find(id);
    return it == byId_.end() ? nullptr : it->second;
  }

  Sdl2Window* ScreenOf(HWND hwnd) const {
    auto it = windows_.find(hwnd);
    return it == windows_.end() ? nullptr : it->second.get();
  }

  // SDL reports screen pixels inside a window; the window manager wants the
  // layer's pixels on the screen, measured from where the window is.
  POINT ToScreen(Uint32 id, int x, int y) const {
    const Sdl2Window* w = ScreenOf(WindowOf(id));
    if (!w) return POINT{x / scale_, y / scale_};
    return POINT{w->rect().left + Floor(x), w->rect().top + Floor(y)};
  }

  // Rounds toward minus infinity: a drag past the left edge stays outside.
  int Floor(int v) const { return v >= 0 ? v / scale_ : -((-v + scale_ - 1) / scale_); }

  void Handle(const SDL_Event& ev) {
    switch (ev.type) {
      case SDL_MOUSEMOTION:
        pointer_ = ToScreen(ev.motion.windowID, ev.motion.x, ev.motion.y);
        user::InjectMouseMove(pointer_);
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: {
        user::MouseButton b = ev.button.button == SDL_BUTTON_LEFT    ? user::MouseButton::Left
                              : ev.button.button == SDL_BUTTON_RIGHT ? user::MouseButton::Right
                                                                     : user::MouseButton::Middle;
        pointer_ = ToScreen(ev.button.windowID, ev.button.x, ev.button.y);
        user::InjectMouseButton(pointer_, b, ev.type == SDL_MOUSEBUTTONDOWN);
        break;
      }
      case SDL_MOUSEWHEEL: {
        int dy = ev.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -ev.wheel.y : ev.wheel.y;
        user::InjectMouseWheel(pointer_, dy * WHEEL_DELTA);
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
    Sdl2Window* w = ScreenOf(hwnd);
    if (!w) return;
    switch (we.event) {
      case SDL_WINDOWEVENT_CLOSE:
        user::InjectCloseRequest(hwnd);
        break;
      case SDL_WINDOWEVENT_EXPOSED:
        if (!w->Refresh()) user::ScreenLostPixels(hwnd);
        break;
      case SDL_WINDOWEVENT_SIZE_CHANGED:
        w->SurfaceLost();
        user::ScreenLostPixels(hwnd);
        break;
      case SDL_WINDOWEVENT_MOVED: {
        const RECT before = w->rect();
        w->MovedTo(we.data1, we.data2);
        if (w->rect().left != before.left || w->rect().top != before.top)
          SetWindowPos(hwnd, nullptr, w->rect().left, w->rect().top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        break;
      }
      case SDL_WINDOWEVENT_FOCUS_GAINED:
        // SDL gives the keyboard to a drop-down list it shows when no window
        // manager runs; the list must not take the activation from the window
        // that opened it, whose focused control answers the keys.
        if (IsWindowEnabled(hwnd) && Framed(hwnd) && active_ != hwnd) SetActiveWindow(hwnd);
        break;
      case SDL_WINDOWEVENT_LEAVE:
        // The cursor went off every window: leave tracking must hear it.
        user::InjectMouseMove(POINT{-100000, -100000});
        break;
      default:
        break;
    }
  }

  bool Framed(HWND hwnd) const {
    const Sdl2Window* w = ScreenOf(hwnd);
    return w && (SDL_GetWindowFlags(w->get()) & SDL_WINDOW_BORDERLESS) == 0;
  }

  // --- keyboard focus -------------------------------------------------------

  // Without a window manager SDL hands the keyboard to every window it shows,
  // and nobody hands it back when that window goes: closing a message box or
  // a drop-down list would leave the keyboard with no window at all. The
  // window the program activates takes it instead.
  static void Activate(const Sdl2Window& w) {
    SDL_RaiseWindow(w.get());
    GiveKeyboard(w);
  }

  static bool HasKeyboard(const Sdl2Window& w) { return w.ok() && SDL_GetKeyboardFocus() == w.get(); }

  static void GiveKeyboard(const Sdl2Window& w) {
    if (w.ok() && !HasKeyboard(w) && (SDL_GetWindowFlags(w.get()) & SDL_WINDOW_SHOWN))
      SDL_SetWindowInputFocus(w.get());
  }

  void GiveKeyboardToActive() {
    if (const Sdl2Window* w = ScreenOf(active_)) GiveKeyboard(*w);
  }

  const int scale_;
  std::map<HWND, std::unique_ptr<Sdl2Window>> windows_;
  std::map<Uint32, HWND> byId_;
  HWND active_ = nullptr;
  POINT pointer_{0, 0};
  Uint64 lastRead_ = 0;  // when the display was last read (SDL_GetTicks64)
  user::CursorShape cursorShape_ = user::CursorShape::Arrow;
  std::map<user::CursorShape, SDL_Cursor*> cursors_;
};

}  // namespace
}  // namespace platform::backend

namespace platform {
namespace {

// What the steps of opening the screen hand on to each other.
int g_scale = 1;

}  // namespace

void PrepareSdl2Screen() {
  // fontconfig's start (reading its configuration and caches) overlaps
  // everything after this.
  gdi::StartFontLookup();
  backend::ReportProtocolErrors();
  const std::optional<backend::X11ScreenLook> look = backend::LookAtX11Screen();
  g_scale = backend::ChooseDisplayScale(std::getenv("HUIWENFANG_SCALE"), std::getenv("GDK_SCALE"), [&look] {
    return look ? backend::XftDpiIn(look->resources) : std::nullopt;
  });
  // The X server can read window surfaces kept in shared memory.
  gdi::UseSharedPixelsForScreens(look.has_value());
  if (look && look->width > 0 && look->height > 0)
    user::AttachBackend(
        std::make_unique<backend::HeadlessBackend>(SIZE{look->width / g_scale, look->height / g_scale}));
}

bool StartSdl2() {
  // Pixels reach the screen through the window surface alone: no renderer
  // and no GL context, which would load a GL stack of about 100 MB.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
  // With no display SDL falls back to a driver that shows nothing: the
  // program would run on, invisible, with nobody able to end it. Such a
  // driver is taken only when the user names it.
  if (!backend::ScreenIsVisible(SDL_GetCurrentVideoDriver(), std::getenv("SDL_VIDEODRIVER"))) {
    SDL_Quit();
    SDL_SetError("no display to show the window on (is DISPLAY set?)");
    return false;
  }
  backend::EndProcessOnLostDisplay();
  SDL_StartTextInput();
  return true;
}

void AttachStartedSdl2() { user::AttachBackend(std::make_unique<backend::Sdl2Backend>(g_scale)); }

bool AttachSdl2Backend() {
  PrepareSdl2Screen();
  if (!StartSdl2()) return false;
  AttachStartedSdl2();
  return true;
}

void DetachSdl2Backend() {
  user::AttachBackend(nullptr);
  SDL_Quit();
}

}  // namespace platform
