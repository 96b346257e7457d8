// Mouse and keyboard routing: hit testing, capture, double clicks, leave
// tracking, key state.
//
// Hit testing is geometric (window rectangles and regions, z-order); no
// WM_NCHITTEST or WM_SETCURSOR is sent on the way, which keeps message logs
// to what a program acts on.
//
// Sections: state · mouse · leave tracking · capture · keyboard · queries
#include "platform/user/input.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "platform/user/clock.h"
#include "platform/user/queue.h"
#include "platform/user/window.h"

namespace platform::user {
namespace {

// --- state ------------------------------------------------------------------

struct InputState {
  std::array<bool, 256> keys{};      // as the devices report them now
  std::array<bool, 256> syncKeys{};  // as of the message being handled
  // Double-click memory: the last button press that could start one.
  HWND lastClickWindow = nullptr;
  UINT lastClickMsg = 0;
  std::uint64_t lastClickTime = 0;
  POINT lastClickPos{0, 0};
  bool lastWasDouble = false;
  std::vector<HWND> tracking;  // windows waiting for WM_MOUSELEAVE
};

InputState& input() {
  static InputState s;
  return s;
}

constexpr UINT kDoubleClickMs = 500;
constexpr int kDoubleClickBox = 4;  // SM_CXDOUBLECLK, SM_CYDOUBLECLK

WPARAM KeyFlags() {
  auto& k = input().keys;
  WPARAM f = 0;
  if (k[VK_LBUTTON]) f |= MK_LBUTTON;
  if (k[VK_RBUTTON]) f |= MK_RBUTTON;
  if (k[VK_MBUTTON]) f |= MK_MBUTTON;
  if (k[VK_SHIFT]) f |= MK_SHIFT;
  if (k[VK_CONTROL]) f |= MK_CONTROL;
  return f;
}

LPARAM PointParam(POINT p) { return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)); }

bool ClientContains(const Window& w, POINT screen) {
  POINT o = ClientOriginOnScreen(w);
  return screen.x >= o.x && screen.y >= o.y && screen.x < o.x + (w.client.right - w.client.left) &&
         screen.y < o.y + (w.client.bottom - w.client.top);
}

// --- leave tracking ---------------------------------------------------------

void CheckLeave(POINT screen) {
  HWND under = HitTest(screen, true);
  // The window holding the capture gets every mouse message wherever the cursor is, so it is not
  // left before it lets go (a pressed button dragged off still hears the moves, not a leave).
  HWND capture = desktop().capture;
  auto& t = input().tracking;
  for (std::size_t i = 0; i < t.size();) {
    Window* w = FromHandle(t[i]);
    bool inside =
        w && (t[i] == capture || (under == t[i] && (w->trackLeaveNonClient || ClientContains(*w, screen))));
    if (w && inside) {
      ++i;
      continue;
    }
    if (w) {
      w->trackLeave = false;
      PostQueued(t[i], w->trackLeaveNonClient ? 0x02A2 /* WM_NCMOUSELEAVE */ : WM_MOUSELEAVE, 0, 0);
    }
    t.erase(t.begin() + static_cast<std::ptrdiff_t>(i));
  }
}

// --- mouse ------------------------------------------------------------------

// The window that gets mouse input at screen, or nullptr when it goes
// nowhere (over no window, or over a disabled top-level window).
HWND MouseTarget(POINT screen) {
  if (HWND c = desktop().capture; c && IsWindow(c)) return c;
  HWND hit = HitTest(screen, true);
  if (!hit) return nullptr;
  Window* top = FromHandle(TopLevelOf(hit));
  if (!top || !top->enabled()) return nullptr;
  return hit;
}

// The window a click on the disabled top-level window `top` brings forward:
// the front-most visible window it owns, or, when that one is disabled too
// (a dialog with a prompt of its own), the one that window owns, and so on.
// nullptr when no enabled window is found.
HWND EnabledPopupOf(HWND top) {
  for (std::size_t depth = 0; top && depth <= desktop().topLevels.size(); ++depth) {
    HWND next = nullptr;
    for (HWND t : desktop().topLevels) {  // front first
      const Window* w = FromHandle(t);
      if (w && w->owner == top && w->visible()) {
        next = t;
        break;
      }
    }
    if (!next || FromHandle(next)->enabled()) return next;
    top = next;
  }
  return nullptr;
}

// A press on a window that a modal dialog disabled does what it does in
// Win32: the dialog comes to the front and takes the keyboard. A window
// manager may have raised the owner over the dialog meanwhile, so the
// screen is told again even when the dialog is already the active window.
void BringForwardOverDisabled(POINT screen) {
  if (desktop().capture) return;
  HWND hit = HitTest(screen, true);
  Window* top = hit ? FromHandle(TopLevelOf(hit)) : nullptr;
  if (!top || top->enabled()) return;
  HWND popup = EnabledPopupOf(TopLevelOf(hit));
  if (!popup) return;
  if (desktop().active == popup)
    SyncTopLevel(popup);
  else
    SetActiveWindow(popup);
}

void PostMouse(HWND target, UINT clientMsg, UINT ncMsg, POINT screen, WPARAM extraHigh) {
  Window* w = FromHandle(target);
  if (!w) return;
  bool captured = desktop().capture == target;
  if (captured || ClientContains(*w, screen)) {
    POINT p = screen;
    ScreenToClient(target, &p);
    PostQueued(target, clientMsg, KeyFlags() | (extraHigh << 16), PointParam(p));
  } else if (ncMsg) {
    LRESULT hit = DefWindowProcA(target, WM_NCHITTEST, 0, PointParam(screen));
    PostQueued(target, ncMsg, static_cast<WPARAM>(hit), PointParam(screen));
  }
}

}  // namespace

void InjectMouseMove(POINT screen) {
  desktop().cursor = screen;
  CheckLeave(screen);
  if (HWND t = MouseTarget(screen)) {
    // What DefWindowProc's WM_SETCURSOR would do: the class cursor over the
    // client area, the arrow over frames.
    const Window* w = FromHandle(t);
    ShowCursorShape(w && ClientContains(*w, screen) ? w->cls->cursor : nullptr);
    PostMouse(t, WM_MOUSEMOVE, WM_NCMOUSEMOVE, screen, 0);
  }
}

void InjectMouseButton(POINT screen, MouseButton button, bool down) {
  desktop().cursor = screen;
  CheckLeave(screen);
  int vk = button == MouseButton::Left ? VK_LBUTTON : button == MouseButton::Right ? VK_RBUTTON : VK_MBUTTON;
  UINT base = button == MouseButton::Left    ? WM_LBUTTONDOWN
              : button == MouseButton::Right ? WM_RBUTTONDOWN
                                             : WM_MBUTTONDOWN;
  UINT ncBase = button == MouseButton::Left    ? WM_NCLBUTTONDOWN
                : button == MouseButton::Right ? WM_NCRBUTTONDOWN
                                               : 0;
  input().keys[vk] = down;
  HWND target = MouseTarget(screen);
  if (!target) {
    if (down) BringForwardOverDisabled(screen);
    return;
  }
  if (!down) {
    PostMouse(target, base + 1, ncBase ? ncBase + 1 : 0, screen, 0);
    return;
  }
  // A press activates the window it lands in.
  HWND top = TopLevelOf(target);
  if (top && desktop().active != top && desktop().capture != target) SetActiveWindow(top);
  if (!IsWindow(target)) return;

  auto& s = input();
  std::uint64_t now = NowMs();
  bool dbl = !s.lastWasDouble && s.lastClickWindow == target && s.lastClickMsg == base &&
             now - s.lastClickTime <= kDoubleClickMs &&
             std::abs(screen.x - s.lastClickPos.x) <= kDoubleClickBox / 2 &&
             std::abs(screen.y - s.lastClickPos.y) <= kDoubleClickBox / 2 &&
             (FromHandle(target)->cls->style & CS_DBLCLKS);
  s.lastClickWindow = target;
  s.lastClickMsg = base;
  s.lastClickTime = now;
  s.lastClickPos = screen;
  s.lastWasDouble = dbl;
  PostMouse(target, dbl ? base + 2 : base, ncBase ? (dbl ? ncBase + 2 : ncBase) : 0, screen, 0);
}

void InjectMouseWheel(POINT screen, int delta) {
  desktop().cursor = screen;
  // The wheel goes to the focus window, as in Win32, with screen
  // coordinates.
  HWND target = desktop().focus ? desktop().focus : MouseTarget(screen);
  if (!target) return;
  PostQueued(target, WM_MOUSEWHEEL, MAKEWPARAM(KeyFlags(), static_cast<WORD>(static_cast<short>(delta))),
             PointParam(screen));
}

// --- keyboard ---------------------------------------------------------------

void InjectKey(UINT vk, bool down) {
  vk &= 0xFF;
  auto& k = input().keys;
  bool wasDown = k[vk];
  k[vk] = down;
  HWND target = desktop().focus ? desktop().focus : desktop().active;
  if (!target) return;
  Window* top = FromHandle(TopLevelOf(target));
  if (!top || !top->enabled()) return;
  bool sys = k[VK_MENU] && !k[VK_CONTROL];
  UINT msg = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
  LPARAM lp = 1 | (wasDown ? (1 << 30) : 0) | (down ? 0 : static_cast<LPARAM>(0xC0000000u));
  PostQueued(target, msg, vk, lp);
}

void InjectText(const std::string& utf8) {
  HWND target = desktop().focus ? desktop().focus : desktop().active;
  if (!target) return;
  Window* top = FromHandle(TopLevelOf(target));
  if (!top || !top->enabled()) return;
  for (unsigned char c : utf8) PostQueued(target, WM_CHAR, c, 1);
}

void InjectCloseRequest(HWND topLevel) {
  Window* w = FromHandle(topLevel);
  // A window disabled by a modal loop ignores its close button.
  if (!w || w->isChild() || !w->enabled()) return;
  PostQueued(topLevel, WM_CLOSE, 0, 0);
}

void ForgetInputState(HWND hwnd) {
  auto& s = input();
  if (s.lastClickWindow == hwnd) s.lastClickWindow = nullptr;
  std::erase(s.tracking, hwnd);
  if (desktop().capture == hwnd) desktop().capture = nullptr;
}

void NoteRetrieved(const MSG& msg) {
  auto& k = input().syncKeys;
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      k[msg.wParam & 0xFF] = true;
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      k[msg.wParam & 0xFF] = false;
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MBUTTONUP:
    case WM_MOUSEMOVE:
      k[VK_LBUTTON] = msg.wParam & MK_LBUTTON;
      k[VK_RBUTTON] = msg.wParam & MK_RBUTTON;
      k[VK_MBUTTON] = msg.wParam & MK_MBUTTON;
      break;
    default:
      break;
  }
}

void ResetInputState() {
  auto& s = input();
  s.keys.fill(false);
  s.syncKeys.fill(false);
  s.lastClickWindow = nullptr;
  s.lastWasDouble = false;
  s.tracking.clear();
}

// Called by TrackMouseEvent.
bool StartLeaveTracking(HWND hwnd, bool nonClient) {
  Window* w = FromHandle(hwnd);
  if (!w) return false;
  w->trackLeave = true;
  w->trackLeaveNonClient = nonClient;
  auto& t = input().tracking;
  if (std::find(t.begin(), t.end(), hwnd) == t.end()) t.push_back(hwnd);
  // Asking while the cursor is already elsewhere gets the leave at once.
  CheckLeave(desktop().cursor);
  return true;
}

void CancelLeaveTracking(HWND hwnd) {
  if (Window* w = FromHandle(hwnd)) w->trackLeave = false;
  std::erase(input().tracking, hwnd);
}

bool KeyDown(int vk, bool sync) {
  if (vk < 0 || vk >= 256) return false;
  return (sync ? input().syncKeys : input().keys)[static_cast<std::size_t>(vk)];
}

}  // namespace platform::user

using namespace platform::user;

// --- capture ------------------------------------------------------------------

HWND SetCapture(HWND hwnd) {
  HWND old = desktop().capture;
  if (hwnd && !IsWindow(hwnd)) return old;
  if (old == hwnd) return old;
  desktop().capture = hwnd;
  // A leave held back while the old window had the capture is due now.
  CheckLeave(desktop().cursor);
  if (old && IsWindow(old)) SendMessageA(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return old;
}

BOOL ReleaseCapture() {
  HWND old = desktop().capture;
  if (!old) return TRUE;
  desktop().capture = nullptr;
  CheckLeave(desktop().cursor);
  if (IsWindow(old)) SendMessageA(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() { return desktop().capture; }

BOOL TrackMouseEvent(LPTRACKMOUSEEVENT tme) {
  if (!tme || tme->cbSize != sizeof(TRACKMOUSEEVENT)) return FALSE;
  if (tme->dwFlags & TME_QUERY) {
    Window* w = FromHandle(tme->hwndTrack);
    tme->dwFlags = w && w->trackLeave ? TME_LEAVE : 0;
    return TRUE;
  }
  if (!IsWindow(tme->hwndTrack)) return FALSE;
  if (tme->dwFlags & TME_CANCEL) {
    if (tme->dwFlags & TME_LEAVE) CancelLeaveTracking(tme->hwndTrack);
    return TRUE;
  }
  if (tme->dwFlags & TME_LEAVE)
    return StartLeaveTracking(tme->hwndTrack, tme->dwFlags & TME_NONCLIENT) ? TRUE : FALSE;
  return TRUE;  // hover tracking is not offered; asking for it is harmless
}

BOOL _TrackMouseEvent(LPTRACKMOUSEEVENT tme) { return TrackMouseEvent(tme); }

// --- queries ------------------------------------------------------------------

BOOL GetCursorPos(LPPOINT pt) {
  if (!pt) return FALSE;
  *pt = desktop().cursor;
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  InjectMouseMove(POINT{x, y});
  return TRUE;
}

SHORT GetKeyState(int vk) { return KeyDown(vk, true) ? static_cast<SHORT>(0x8000) : 0; }
SHORT GetAsyncKeyState(int vk) { return KeyDown(vk, false) ? static_cast<SHORT>(0x8000) : 0; }

UINT GetDoubleClickTime() { return kDoubleClickMs; }
