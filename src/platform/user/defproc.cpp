// DefWindowProcA: what a window does with the messages its procedure does
// not handle.
#include <cstring>

#include "platform/scoped_handles.h"
#include "platform/user/frame.h"
#include "platform/user/window.h"

namespace platform::user {
namespace {

LRESULT HitTestCode(const Window& w, POINT screen) {
  POINT o = WindowOriginOnScreen(w);
  int x = screen.x - o.x, y = screen.y - o.y;
  if (x < 0 || y < 0 || x >= w.width() || y >= w.height()) return HTNOWHERE;
  if (w.hasWindowRgn && !w.windowRgn.Contains(x, y)) return HTNOWHERE;
  if (x >= w.client.left && x < w.client.right && y >= w.client.top && y < w.client.bottom) return HTCLIENT;
  RECT in = FrameInsets(w.style & ~(WS_VSCROLL | WS_HSCROLL), w.exStyle, !w.isChild());
  int innerRight = w.width() - in.right, innerBottom = w.height() - in.bottom;
  if ((w.style & WS_VSCROLL) && x >= innerRight - kScrollBarSize && x < innerRight && y < innerBottom)
    return HTVSCROLL;
  if ((w.style & WS_HSCROLL) && y >= innerBottom - kScrollBarSize && y < innerBottom) return HTHSCROLL;
  if (w.isChild() && (w.style & WS_CAPTION) == WS_CAPTION) {
    int frame = in.left;
    if (y >= frame && y < frame + kCaptionHeight && x >= frame && x < w.width() - frame) return HTCAPTION;
  }
  return HTBORDER;
}

HBRUSH BrushFromClass(HBRUSH b) {
  // (HBRUSH)(COLOR_x + 1) names a system colour, as in Win32.
  auto v = reinterpret_cast<std::uintptr_t>(b);
  if (v > 0 && v <= 31) return GetSysColorBrush(static_cast<int>(v - 1));
  return b;
}

LRESULT CtlColor(UINT msg, HDC dc) {
  bool window = msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX;
  int bk = window ? COLOR_WINDOW : COLOR_3DFACE;
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(bk));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(bk));
}

}  // namespace
}  // namespace platform::user

using namespace platform::user;

LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = FromHandle(hwnd);
  if (!w) return 0;
  switch (msg) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) w->text = cs->lpszName;
      return TRUE;
    }
    case WM_NCCALCSIZE: {
      RECT* r =
          wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
      if (r) *r = DefaultClientRect(*w, *r);
      return 0;
    }
    case WM_SETTEXT: {
      const char* text = reinterpret_cast<const char*>(lParam);
      w->text = text ? text : "";
      if (!w->isChild()) {
        SyncTopLevel(hwnd);
      } else if ((w->style & WS_CAPTION) == WS_CAPTION) {
        RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
      }
      return TRUE;
    }
    case WM_GETTEXT:
      return CopyText(w->text, wParam, reinterpret_cast<char*>(lParam));
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w->text.size());
    case WM_NCPAINT:
      PaintFrame(hwnd, win32::WindowDc(hwnd).get());
      return 0;
    case WM_ERASEBKGND: {
      HBRUSH brush = BrushFromClass(w->cls->background);
      if (!brush) return 0;
      RECT rc;
      GetClientRect(hwnd, &rc);
      FillRect(reinterpret_cast<HDC>(wParam), &rc, brush);
      return 1;
    }
    case WM_PAINT:
      // Validates the update region, so that the window is not asked again.
      win32::PaintDc{hwnd};
      return 0;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_NCHITTEST:
      return HitTestCode(*w, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_SETCURSOR:
      return FALSE;
    case WM_MOUSEACTIVATE:
      return MA_ACTIVATE;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) SetFocus(hwnd);
      return 0;
    case WM_NCACTIVATE:
      return TRUE;
    case WM_WINDOWPOSCHANGED: {
      auto* wp = reinterpret_cast<const WINDOWPOS*>(lParam);
      if (!wp) return 0;
      if (!(wp->flags & SWP_NOMOVE))
        SendMessageA(hwnd, WM_MOVE, 0,
                     MAKELPARAM(w->rect.left + w->client.left, w->rect.top + w->client.top));
      if (!(wp->flags & SWP_NOSIZE) && (w = FromHandle(hwnd)))
        SendMessageA(hwnd, WM_SIZE, SIZE_RESTORED,
                     MAKELPARAM(w->client.right - w->client.left, w->client.bottom - w->client.top));
      return 0;
    }
    case WM_RBUTTONUP: {
      // A right click asks for a context menu where the button came up.
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ClientToScreen(hwnd, &p);
      SendMessageA(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(p.x, p.y));
      return 0;
    }
    case WM_NCRBUTTONUP:
      SendMessageA(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), lParam);  // already on screen
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      // Shift+F10 and, on release, the menu key ask from the keyboard: the
      // position is -1, and the window picks a place by its selection.
      if (wParam == VK_F10 && (GetKeyState(VK_SHIFT) & 0x8000))
        SendMessageA(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), -1);
      return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (wParam == VK_APPS) SendMessageA(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), -1);
      return 0;
    case WM_CONTEXTMENU:
      // Unanswered, the request goes up to the parent (wParam still names
      // the window it came from).
      if (w->isChild()) return SendMessageA(w->parent, msg, wParam, lParam);
      return 0;
    case WM_MOUSEWHEEL:
      // Unhandled wheel turns go up to the parent, as in Win32.
      if (w->isChild()) return SendMessageA(w->parent, msg, wParam, lParam);
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == 0xF060) SendMessageA(hwnd, WM_CLOSE, 0, 0);  // SC_CLOSE
      return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return CtlColor(msg, reinterpret_cast<HDC>(wParam));
    default:
      return 0;
  }
}
