// The screen the window manager shows its top-level windows on, kept at the
// platform's edge. The window manager tells a backend everything it needs in
// arguments (where a window is, its title, whether it shows, which one is
// active, its pixels and which of them changed, the mouse cursor); a backend
// never reads the window manager's own state. What happens on the screen
// comes back as injected input (platform/user/input.h) and the public API.
//
// A backend is always attached: the headless one (platform/backend/headless.h)
// until a real screen replaces it, and again after that screen goes.
#pragma once

#include <memory>
#include <span>
#include <string>

#include "platform/gdi/pixel_buffer.h"
#include "platform/win32.h"

namespace platform::user {

// What a top-level window looks like to the screen. Sent when the window is
// created, shown, hidden, moved, resized, retitled, activated or deactivated,
// and to the windows it owns when it is enabled or disabled.
struct TopLevelState {
  RECT rect{0, 0, 0, 0};  // on the screen, in the layer's pixels
  std::string title;      // UTF-8
  bool visible = false;
  bool active = false;       // the window the program activated: the keyboard belongs there
  bool framed = true;        // decorated with a caption; false for popups such as a drop-down list
  HWND owner = nullptr;      // a top-level window it must stay above
  bool modal = false;        // its owner is disabled while it shows: a modal dialog or message box
  bool minimizable = false;  // offers a minimise button (WS_MINIMIZEBOX)
};

enum class CursorShape { Arrow, IBeam, Wait, Hand };

class Backend {
 public:
  virtual ~Backend() = default;

  virtual void TopLevelChanged(HWND hwnd, const TopLevelState& state) = 0;
  virtual void TopLevelDestroyed(HWND hwnd) = 0;
  // Shows the rectangles `dirty` (buffer coordinates, inside the buffer) of
  // a visible top-level window's pixels. The buffer is the window's whole
  // surface; a backend that lost what it showed may copy more than asked.
  virtual void Present(HWND hwnd, const gdi::PixelBuffer& pixels, std::span<const RECT> dirty) = 0;
  virtual void SetCursorShape(CursorShape shape) = 0;

  // Turns every pending screen event into input without blocking.
  virtual void PumpEvents() = 0;
  // Blocks until an event arrives or timeoutMs passes (-1: no timeout).
  // False when nothing could ever arrive: the waiting loop then ends.
  virtual bool WaitEvents(int timeoutMs) = 0;

  virtual SIZE ScreenSize() const = 0;
  virtual std::string ClipboardText() const = 0;
  virtual void SetClipboardText(const std::string& text) = 0;
};

// Installs a backend in place of the current one; nullptr installs a new
// headless one. Top-level windows alive then are told to the new backend,
// back to front, and presented to it whole: a program may build and paint
// its windows before its screen is there.
void AttachBackend(std::unique_ptr<Backend> backend);
Backend& CurrentBackend();

// Defined by the headless backend: what runs when nothing else is attached.
std::unique_ptr<Backend> MakeHeadlessBackend();

// The screen lost what it showed of a top-level window (a new window surface,
// an expose it cannot repair): all of it is presented again.
void ScreenLostPixels(HWND topLevel);

}  // namespace platform::user
