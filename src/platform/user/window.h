// The window object behind an HWND and the window manager's global state.
// Private to the platform layer.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/gdi/pixel_buffer.h"
#include "platform/gdi/region.h"
#include "platform/handles.h"
#include "platform/win32.h"

namespace platform::user {

struct WindowClass {
  std::string name;
  std::string key;  // lower-cased name: class names compare case-insensitively
  UINT style = 0;
  WNDPROC proc = nullptr;
  int cbClsExtra = 0;
  int cbWndExtra = 0;
  HINSTANCE instance = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  ATOM atom = 0;
};

struct Window {
  HWND hwnd = nullptr;
  std::shared_ptr<WindowClass> cls;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  HWND parent = nullptr;  // nullptr for top-level windows
  HWND owner = nullptr;
  HINSTANCE instance = nullptr;
  LONG_PTR id = 0;
  LONG_PTR userData = 0;
  std::vector<std::uint8_t> extra;
  std::string text;
  std::vector<std::pair<std::string, HANDLE>> props;
  // Children in z-order, front first.
  std::vector<HWND> children;

  // Window rectangle in the parent's client coordinates (screen for
  // top-level windows); client rectangle relative to the window's top-left.
  RECT rect{0, 0, 0, 0};
  RECT client{0, 0, 0, 0};

  // Painting state, in window coordinates (origin at the window's top-left).
  gdi::Region update;
  bool internalPaint = false;
  bool erasePending = false;
  bool framePending = false;
  bool eraseRefused = false;  // WM_ERASEBKGND returned 0: BeginPaint reports fErase

  bool hasWindowRgn = false;
  gdi::Region windowRgn;  // window coordinates
  HRGN windowRgnHandle = nullptr;

  // Top-level windows own the surface their whole tree draws into.
  std::shared_ptr<gdi::PixelBuffer> surface;
  // When the surface last went to the screen (none yet: the next present
  // goes out at once).
  std::optional<std::uint64_t> lastPresentMs;

  bool destroying = false;
  bool trackLeave = false;
  bool trackLeaveNonClient = false;

  int width() const { return rect.right - rect.left; }
  int height() const { return rect.bottom - rect.top; }
  bool visible() const { return (style & WS_VISIBLE) != 0; }
  bool enabled() const { return (style & WS_DISABLED) == 0; }
  bool isChild() const { return (style & WS_CHILD) != 0 && parent != nullptr; }
};

// The handle table owns a holder; code that must survive the window's
// destruction during a call (dispatch, enumeration) takes a shared_ptr.
struct WindowHolder : HandleObject {
  std::shared_ptr<Window> window;
};

Window* FromHandle(HWND hwnd);
std::shared_ptr<Window> SharedFromHandle(HWND hwnd);

struct Desktop {
  std::vector<HWND> topLevels;  // z-order, front first
  HWND focus = nullptr;
  HWND active = nullptr;
  HWND capture = nullptr;
  POINT cursor{0, 0};
};
Desktop& desktop();

// Class registry.
std::shared_ptr<WindowClass> FindClass(const char* name);

// Geometry helpers.
POINT WindowOriginOnScreen(const Window& w);  // window rect's top-left
POINT ClientOriginOnScreen(const Window& w);
HWND TopLevelOf(HWND hwnd);
// Every descendant in pre-order (z-order within each level, front first).
std::vector<HWND> Descendants(HWND hwnd);
bool IsVisibleOnScreen(const Window& w);  // itself and every ancestor visible
// Offset of the window's top-left inside its top-level surface.
POINT WindowOriginInSurface(const Window& w);
// Computes the client rectangle from the styles (what DefWindowProc answers
// to WM_NCCALCSIZE): r is the window rectangle, the result the client area.
RECT DefaultClientRect(const Window& w, RECT r);
void RecalcClient(Window& w);

// Deep-first hit test from the screen: the deepest visible window whose
// shape contains pt, skipping disabled ones if skipDisabled.
HWND HitTest(POINT screenPt, bool skipDisabled);

// Painting hooks used by window management.
void InvalidateWindowAll(Window& w, bool erase, bool frame);
void OnTopLevelResized(Window& w);
void OnWindowDestroyed(HWND hwnd);  // clears capture/focus/timers/backends

// The backend's side (backend.cpp). SyncTopLevel tells the backend how a
// top-level window looks now. PresentChangedTopLevels presents the changed
// pixels of every shown top-level window, each at most once per frame;
// nextWake is when the loop wakes anyway (the next timer). It returns when
// the loop must wake to present what it held back, if earlier.
inline constexpr std::uint64_t kFrameMs = 16;
void SyncTopLevel(HWND hwnd);
std::optional<std::uint64_t> PresentChangedTopLevels(std::optional<std::uint64_t> nextWake);
// Shows the cursor a cursor handle stands for (system.cpp).
void ShowCursorShape(HCURSOR cursor);

// Delivers a message straight to the window procedure, keeping the window
// alive for the duration.
LRESULT CallProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

std::string Lower(const char* s);

// Copies text as WM_GETTEXT does (at most max - 1 bytes plus NUL, never
// cutting a UTF-8 sequence).
LRESULT CopyText(const std::string& text, WPARAM max, char* buf);

// Every procedure ever installed on a class or window, so that
// SetWindowLongA(GWL_WNDPROC) can map a 32-bit value back to the procedure.
std::vector<WNDPROC>& ProcRegistry();
void RememberProc(WNDPROC p);

}  // namespace platform::user
