// The attached backend, what it is told about top-level windows, and the
// presents of changed pixels, at most one per window and frame.
#include "platform/user/backend.h"

#include <algorithm>

#include "platform/gdi/display.h"
#include "platform/user/clock.h"
#include "platform/user/window.h"

namespace platform::user {
namespace {

std::unique_ptr<Backend>& slot() {
  static std::unique_ptr<Backend> b;
  return b;
}

// Captionless popups are drop-down lists: shown without a frame.
bool Framed(const Window& w) { return (w.style & WS_CAPTION) == WS_CAPTION || !(w.style & WS_POPUP); }

}  // namespace

void AttachBackend(std::unique_ptr<Backend> backend) {
  slot() = backend ? std::move(backend) : MakeHeadlessBackend();
  const SIZE s = slot()->ScreenSize();
  gdi::SetDisplaySize(s.cx, s.cy);
  const std::vector<HWND> tops = desktop().topLevels;
  for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
    ScreenLostPixels(*it);
    SyncTopLevel(*it);
  }
}

Backend& CurrentBackend() {
  if (!slot()) AttachBackend(nullptr);
  return *slot();
}

void ScreenLostPixels(HWND topLevel) {
  Window* w = FromHandle(topLevel);
  if (!w || w->isChild() || !w->surface) return;
  w->surface->Touch(0, 0, w->surface->width, w->surface->height);
  w->lastPresentMs.reset();  // nothing on screen to keep a frame's pace with
}

void SyncTopLevel(HWND hwnd) {
  const Window* w = FromHandle(hwnd);
  if (!w || w->isChild()) return;
  TopLevelState s;
  s.rect = w->rect;
  s.title = w->text;
  s.visible = w->visible();
  s.active = desktop().active == hwnd;
  s.framed = Framed(*w);
  s.owner = w->owner;
  s.modal = w->owner && !IsWindowEnabled(w->owner);
  s.minimizable = (w->style & WS_MINIMIZEBOX) != 0;
  CurrentBackend().TopLevelChanged(hwnd, s);
}

std::optional<std::uint64_t> PresentChangedTopLevels(std::optional<std::uint64_t> nextWake) {
  std::optional<std::uint64_t> wake;
  const std::uint64_t now = NowMs();
  // A present may run a backend's event handling; work on a copy.
  for (HWND t : std::vector<HWND>(desktop().topLevels)) {
    Window* w = FromHandle(t);
    if (!w || !w->surface || !w->visible() || w->surface->dirty.empty()) continue;
    if (w->lastPresentMs && now < *w->lastPresentMs + kFrameMs) {
      // Shown less than a frame ago: what changes until the frame is over
      // goes out with this in one present. A wake-up coming anyway within
      // the next frame (a timer) carries it; otherwise the loop wakes for
      // it when the frame is over.
      const std::uint64_t due = *w->lastPresentMs + kFrameMs;
      if (nextWake && *nextWake <= due + kFrameMs) continue;
      wake = wake ? std::min(*wake, due) : due;
      continue;
    }
    w->lastPresentMs = now;
    // The surface stays alive through the call even if the window goes.
    std::shared_ptr<gdi::PixelBuffer> surface = w->surface;
    CurrentBackend().Present(t, *surface, surface->dirty.rects());
    surface->ClearDirty();
  }
  return wake;
}

}  // namespace platform::user
