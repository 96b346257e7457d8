// Keyboard focus, activation of top-level windows, dialog keyboard
// navigation, and the clean-up of all of that when a window goes away.
#include <algorithm>

#include "platform/user/input.h"
#include "platform/user/paint.h"
#include "platform/user/queue.h"
#include "platform/user/window.h"

namespace platform::user {
namespace {

bool CanTakeTab(HWND h) {
  Window* w = FromHandle(h);
  if (!w || !(w->style & WS_TABSTOP) || !IsVisibleOnScreen(*w)) return false;
  for (Window* p = w; p; p = p->isChild() ? FromHandle(p->parent) : nullptr)
    if (!p->enabled()) return false;
  return true;
}

}  // namespace

void ActivateNextTopLevel(HWND leaving) {
  Window* lw = FromHandle(leaving);
  HWND next = nullptr;
  auto usable = [leaving](HWND h) {
    Window* w = FromHandle(h);
    return h != leaving && w && !w->destroying && w->visible() && w->enabled();
  };
  if (lw && lw->owner && usable(lw->owner)) next = lw->owner;
  if (!next)
    for (HWND t : desktop().topLevels)
      if (usable(t)) {
        next = t;
        break;
      }
  if (desktop().active == leaving) {
    if (next) {
      SetActiveWindow(next);
    } else {
      desktop().active = nullptr;
      if (lw && !lw->destroying) SendMessageA(leaving, WM_ACTIVATE, WA_INACTIVE, 0);
    }
  }
}

void OnWindowDestroyed(HWND hwnd) {
  KillWindowTimers(hwnd);
  PurgeQueue(hwnd);
  ForgetInputState(hwnd);
  ForgetDCsOf(hwnd);
  if (desktop().focus == hwnd) desktop().focus = nullptr;
  if (desktop().active == hwnd) {
    ActivateNextTopLevel(hwnd);
    if (desktop().active == hwnd) desktop().active = nullptr;
  }
}

HWND NextTabStop(HWND dialog, HWND from, bool backwards) {
  std::vector<HWND> stops;
  for (HWND d : Descendants(dialog))
    if (CanTakeTab(d)) stops.push_back(d);
  if (stops.empty()) return nullptr;
  // Start from the tab stop that holds the focus (the focus may sit in a
  // child of a control, such as the edit inside a combo box).
  auto it = stops.end();
  for (HWND f = from; f && f != dialog; f = GetParent(f)) {
    it = std::find(stops.begin(), stops.end(), f);
    if (it != stops.end()) break;
  }
  if (it == stops.end()) return backwards ? stops.back() : stops.front();
  auto i = static_cast<std::size_t>(it - stops.begin());
  std::size_t n = stops.size();
  return stops[backwards ? (i + n - 1) % n : (i + 1) % n];
}

}  // namespace platform::user

using namespace platform::user;

HWND SetFocus(HWND hwnd) {
  HWND old = desktop().focus;
  if (hwnd) {
    Window* w = FromHandle(hwnd);
    if (!w) return nullptr;
    HWND top = TopLevelOf(hwnd);
    if (desktop().active != top) SetActiveWindow(top);
    if (!IsWindow(hwnd)) return nullptr;
    old = desktop().focus;
  }
  if (old == hwnd) return old;
  desktop().focus = hwnd;
  if (old && IsWindow(old)) SendMessageA(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (hwnd && desktop().focus == hwnd && IsWindow(hwnd))
    SendMessageA(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  return old;
}

HWND GetFocus() { return desktop().focus; }

HWND GetActiveWindow() { return desktop().active; }

HWND SetActiveWindow(HWND hwnd) {
  if (hwnd) {
    hwnd = TopLevelOf(hwnd);
    if (!hwnd) return nullptr;
  }
  HWND old = desktop().active;
  if (old == hwnd) return old;
  desktop().active = hwnd;
  if (old && IsWindow(old)) {
    SendMessageA(old, WM_NCACTIVATE, FALSE, 0);
    SendMessageA(old, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(hwnd));
    HWND f = desktop().focus;
    if (f && (f == old || IsChild(old, f))) {
      desktop().focus = nullptr;
      SendMessageA(f, WM_KILLFOCUS, 0, 0);
    }
    if (IsWindow(old)) SyncTopLevel(old);
  }
  if (hwnd && desktop().active == hwnd && IsWindow(hwnd)) {
    auto& tl = desktop().topLevels;
    tl.erase(std::remove(tl.begin(), tl.end(), hwnd), tl.end());
    tl.insert(tl.begin(), hwnd);
    SendMessageA(hwnd, WM_NCACTIVATE, TRUE, 0);
    SendMessageA(hwnd, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(old));
    SyncTopLevel(hwnd);
  }
  return old;
}

HWND GetForegroundWindow() { return desktop().active; }

BOOL SetForegroundWindow(HWND hwnd) {
  if (!IsWindow(hwnd)) return FALSE;
  SetActiveWindow(hwnd);
  return TRUE;
}

BOOL IsDialogMessageA(HWND dialog, LPMSG msg) {
  if (!msg || !IsWindow(dialog)) return FALSE;
  if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)) return FALSE;
  if (msg->message == WM_KEYDOWN && msg->wParam == VK_TAB) {
    LRESULT code = SendMessageA(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
    if (!(code & (DLGC_WANTTAB | DLGC_WANTALLKEYS))) {
      bool back = GetKeyState(VK_SHIFT) & 0x8000;
      if (HWND next = NextTabStop(dialog, desktop().focus, back)) SetFocus(next);
      return TRUE;
    }
  }
  TranslateMessage(msg);
  DispatchMessageA(msg);
  return TRUE;
}
