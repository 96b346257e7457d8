// Window geometry: frames and client areas, coordinate mapping, moving,
// sizing, z-order, showing and hiding, hit testing.
//
// Sections: frames · coordinates · SetWindowPos and friends · hit testing
#include <algorithm>

#include "platform/user/frame.h"
#include "platform/user/input.h"
#include "platform/user/window.h"

namespace platform::user {

// --- frames -----------------------------------------------------------------

RECT FrameInsets(DWORD style, DWORD exStyle, bool topLevel) {
  RECT in{0, 0, 0, 0};
  auto grow = [&in](int l, int t, int r, int b) { in.left += l, in.top += t, in.right += r, in.bottom += b; };
  if (!topLevel) {
    // The desktop frame carries a top-level window's border and caption;
    // a child draws its own.
    if ((style & WS_THICKFRAME)) {
      grow(kFrameSize, kFrameSize, kFrameSize, kFrameSize);
    } else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) {
      grow(kDlgFrameSize, kDlgFrameSize, kDlgFrameSize, kDlgFrameSize);
    } else if (style & WS_BORDER) {
      grow(1, 1, 1, 1);
    }
    if ((style & WS_CAPTION) == WS_CAPTION) grow(0, kCaptionHeight, 0, 0);
  }
  if (exStyle & WS_EX_CLIENTEDGE) grow(2, 2, 2, 2);
  if (exStyle & WS_EX_STATICEDGE) grow(1, 1, 1, 1);
  if (style & WS_VSCROLL) grow(0, 0, kScrollBarSize, 0);
  if (style & WS_HSCROLL) grow(0, 0, 0, kScrollBarSize);
  return in;
}

RECT DefaultClientRect(const Window& w, RECT r) {
  RECT in = FrameInsets(w.style, w.exStyle, !w.isChild());
  RECT c{r.left + in.left, r.top + in.top, r.right - in.right, r.bottom - in.bottom};
  c.right = std::max(c.right, c.left);
  c.bottom = std::max(c.bottom, c.top);
  return c;
}

void RecalcClient(Window& w) {
  RECT r = w.rect;
  SendMessageA(w.hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&r));
  w.client = RECT{r.left - w.rect.left, r.top - w.rect.top, r.right - w.rect.left, r.bottom - w.rect.top};
}

// --- coordinates ------------------------------------------------------------

POINT WindowOriginOnScreen(const Window& w) {
  if (!w.isChild()) return POINT{w.rect.left, w.rect.top};
  Window* p = FromHandle(w.parent);
  POINT o = p ? ClientOriginOnScreen(*p) : POINT{0, 0};
  return POINT{o.x + w.rect.left, o.y + w.rect.top};
}

POINT ClientOriginOnScreen(const Window& w) {
  POINT o = WindowOriginOnScreen(w);
  return POINT{o.x + w.client.left, o.y + w.client.top};
}

POINT WindowOriginInSurface(const Window& w) {
  if (!w.isChild()) return POINT{0, 0};
  Window* p = FromHandle(w.parent);
  if (!p) return POINT{0, 0};
  POINT o = WindowOriginInSurface(*p);
  return POINT{o.x + p->client.left + w.rect.left, o.y + p->client.top + w.rect.top};
}

// --- hit testing ------------------------------------------------------------

namespace {

// pt in the coordinates of the window's parent client area (screen for
// top-level windows).
bool ShapeContains(const Window& w, POINT pt) {
  if (pt.x < w.rect.left || pt.x >= w.rect.right || pt.y < w.rect.top || pt.y >= w.rect.bottom) return false;
  return !w.hasWindowRgn || w.windowRgn.Contains(pt.x - w.rect.left, pt.y - w.rect.top);
}

HWND HitChildren(const Window& w, POINT pt, bool skipDisabled) {
  // pt is in w's client coordinates.
  for (HWND c : w.children) {
    Window* cw = FromHandle(c);
    if (!cw || !cw->visible() || !ShapeContains(*cw, pt)) continue;
    // A disabled child is transparent: the point belongs to its parent.
    if (skipDisabled && !cw->enabled()) continue;
    POINT inner{pt.x - cw->rect.left - cw->client.left, pt.y - cw->rect.top - cw->client.top};
    bool inClient = inner.x >= 0 && inner.y >= 0 && inner.x < cw->client.right - cw->client.left &&
                    inner.y < cw->client.bottom - cw->client.top;
    if (inClient)
      if (HWND deeper = HitChildren(*cw, inner, skipDisabled)) return deeper;
    return c;
  }
  return nullptr;
}

}  // namespace

HWND HitTest(POINT pt, bool skipDisabled) {
  for (HWND t : desktop().topLevels) {
    Window* w = FromHandle(t);
    if (!w || !w->visible() || !ShapeContains(*w, pt)) continue;
    POINT inner{pt.x - w->rect.left - w->client.left, pt.y - w->rect.top - w->client.top};
    if (HWND c = HitChildren(*w, inner, skipDisabled)) return c;
    return t;
  }
  return nullptr;
}

}  // namespace platform::user

using namespace platform::user;

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
  Window* w = FromHandle(hwnd);
  if (!w || !rect) return FALSE;
  POINT o = WindowOriginOnScreen(*w);
  *rect = RECT{o.x, o.y, o.x + w->width(), o.y + w->height()};
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
  Window* w = FromHandle(hwnd);
  if (!w || !rect) return FALSE;
  *rect = RECT{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT pt) {
  Window* w = FromHandle(hwnd);
  if (!w || !pt) return FALSE;
  POINT o = ClientOriginOnScreen(*w);
  pt->x += o.x;
  pt->y += o.y;
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT pt) {
  Window* w = FromHandle(hwnd);
  if (!w || !pt) return FALSE;
  POINT o = ClientOriginOnScreen(*w);
  pt->x -= o.x;
  pt->y -= o.y;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT pts, UINT count) {
  POINT a{0, 0}, b{0, 0};
  if (from) {
    Window* w = FromHandle(from);
    if (!w) return 0;
    a = ClientOriginOnScreen(*w);
  }
  if (to) {
    Window* w = FromHandle(to);
    if (!w) return 0;
    b = ClientOriginOnScreen(*w);
  }
  int dx = a.x - b.x, dy = a.y - b.y;
  for (UINT i = 0; pts && i < count; ++i) {
    pts[i].x += dx;
    pts[i].y += dy;
  }
  return MAKELONG(static_cast<WORD>(static_cast<short>(dx)), static_cast<WORD>(static_cast<short>(dy)));
}

BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL, DWORD exStyle) {
  if (!rect) return FALSE;
  RECT in = FrameInsets(style, exStyle, (style & WS_CHILD) == 0);
  rect->left -= in.left;
  rect->top -= in.top;
  rect->right += in.right;
  rect->bottom += in.bottom;
  return TRUE;
}

// --- SetWindowPos and friends -------------------------------------------------

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  Window* w = FromHandle(hwnd);
  if (!w) return FALSE;
  WINDOWPOS wp{hwnd, insertAfter, x, y, cx, cy, flags};
  if (flags & SWP_NOMOVE) wp.x = w->rect.left, wp.y = w->rect.top;
  if (flags & SWP_NOSIZE) wp.cx = w->width(), wp.cy = w->height();
  if (!(flags & SWP_NOSENDCHANGING)) {
    SendMessageA(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
    if (!(w = FromHandle(hwnd))) return FALSE;
  }
  wp.cx = std::max(wp.cx, 0);
  wp.cy = std::max(wp.cy, 0);
  const RECT oldRect = w->rect;
  const bool wasShown = IsVisibleOnScreen(*w);
  const RECT newRect{wp.x, wp.y, wp.x + wp.cx, wp.y + wp.cy};
  const bool moved = newRect.left != oldRect.left || newRect.top != oldRect.top;
  const bool sized = wp.cx != oldRect.right - oldRect.left || wp.cy != oldRect.bottom - oldRect.top;

  w->rect = newRect;
  if (!(wp.flags & SWP_NOZORDER)) {
    Window* parent = w->isChild() ? FromHandle(w->parent) : nullptr;
    auto& list = parent ? parent->children : desktop().topLevels;
    auto it = std::find(list.begin(), list.end(), hwnd);
    if (it != list.end()) {
      list.erase(it);
      if (wp.hwndInsertAfter == HWND_TOP || wp.hwndInsertAfter == HWND_TOPMOST) {
        list.insert(list.begin(), hwnd);
      } else if (wp.hwndInsertAfter == HWND_BOTTOM || wp.hwndInsertAfter == HWND_NOTOPMOST) {
        list.push_back(hwnd);
      } else {
        auto after = std::find(list.begin(), list.end(), wp.hwndInsertAfter);
        list.insert(after == list.end() ? list.begin() : after + 1, hwnd);
      }
    }
  }
  if (wp.flags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
  if (wp.flags & SWP_HIDEWINDOW) w->style &= ~WS_VISIBLE;
  if (sized || (wp.flags & SWP_FRAMECHANGED)) RecalcClient(*w);
  if (!(w = FromHandle(hwnd))) return FALSE;
  if (!w->isChild() && sized) OnTopLevelResized(*w);

  const bool nowShown = IsVisibleOnScreen(*w);
  const bool changed =
      moved || sized || !(wp.flags & SWP_NOZORDER) || wasShown != nowShown || (wp.flags & SWP_FRAMECHANGED);
  if (changed && !(wp.flags & SWP_NOREDRAW)) {
    if (w->isChild()) {
      // What the window covered and now covers is repainted by whoever
      // shows there: the parent and every sibling over those areas.
      RECT area{std::min(oldRect.left, newRect.left), std::min(oldRect.top, newRect.top),
                std::max(oldRect.right, newRect.right), std::max(oldRect.bottom, newRect.bottom)};
      if (!wasShown) area = newRect;
      if (!nowShown) area = oldRect;
      RedrawWindow(w->parent, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      if (nowShown) InvalidateWindowAll(*w, true, true);
    } else if (nowShown && (sized || !wasShown || (wp.flags & SWP_FRAMECHANGED))) {
      InvalidateWindowAll(*w, true, true);
    }
  } else if (wp.flags & SWP_FRAMECHANGED) {
    w->framePending = true;
  }
  if (!w->isChild()) SyncTopLevel(hwnd);

  SendMessageA(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
  return IsWindow(hwnd);
}

BOOL MoveWindow(HWND hwnd, int x, int y, int w, int h, BOOL repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, w, h,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND hwnd) { return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

BOOL ShowWindow(HWND hwnd, int cmd) {
  Window* w = FromHandle(hwnd);
  if (!w) return FALSE;
  BOOL wasVisible = w->visible() ? TRUE : FALSE;
  bool show = cmd != SW_HIDE;
  bool activate =
      show && cmd != SW_SHOWNA && cmd != SW_SHOWNOACTIVATE && cmd != SW_SHOWMINNOACTIVE && !w->isChild();
  if (show != static_cast<bool>(wasVisible)) {
    SendMessageA(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    if (!IsWindow(hwnd)) return wasVisible;
    UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
    if (!activate) flags |= SWP_NOACTIVATE;
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, flags);
    if (!show && desktop().active == hwnd) ActivateNextTopLevel(hwnd);
  }
  if (activate && IsWindow(hwnd)) SetActiveWindow(hwnd);
  return wasVisible;
}

HWND WindowFromPoint(POINT pt) { return HitTest(pt, true); }

HWND ChildWindowFromPoint(HWND parent, POINT pt) {
  Window* w = FromHandle(parent);
  if (!w) return nullptr;
  if (pt.x < 0 || pt.y < 0 || pt.x >= w->client.right - w->client.left ||
      pt.y >= w->client.bottom - w->client.top)
    return nullptr;
  // Hidden and disabled children count, as in Win32; only the first level.
  for (HWND c : w->children) {
    Window* cw = FromHandle(c);
    if (cw && pt.x >= cw->rect.left && pt.x < cw->rect.right && pt.y >= cw->rect.top &&
        pt.y < cw->rect.bottom)
      return c;
  }
  return parent;
}
