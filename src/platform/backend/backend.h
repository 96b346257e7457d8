// The screen behind the window manager, kept at the edge: the window
// manager tells a backend what top-level windows exist and what changed, and
// the backend turns its events into injected input (platform/user/input.h).
//
// With no backend attached the layer is headless: windows paint into their
// off-screen surfaces, the screen is 1280x1024 and nothing needs
// initialising. Tests use that mode.
#pragma once

#include <memory>
#include <string>

#include "platform/gdi/pixel_buffer.h"
#include "platform/win32.h"

namespace platform::backend {

class Backend {
 public:
  virtual ~Backend() = default;

  virtual void TopLevelCreated(HWND) {}
  virtual void TopLevelDestroyed(HWND) {}
  // Shown, hidden, moved, resized or retitled.
  virtual void TopLevelChanged(HWND) {}
  // Puts the dirty part of a top-level window's surface on screen.
  virtual void Present(HWND, gdi::PixelBuffer&) {}

  // Turns every pending screen event into input without blocking.
  virtual void PumpEvents() {}
  // Blocks until an event arrives or timeoutMs passes (-1: no timeout).
  virtual void WaitEvents(int timeoutMs) = 0;

  virtual SIZE ScreenSize() const { return SIZE{1280, 1024}; }

  virtual std::string ClipboardText() const { return {}; }
  virtual void SetClipboardText(const std::string&) {}
};

// Installs a backend (replacing any previous one); nullptr returns to
// headless. Call before creating windows.
void Attach(std::unique_ptr<Backend> backend);
Backend* Current();

}  // namespace platform::backend
