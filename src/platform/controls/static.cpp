// "Static": text labels and etched lines.
#include "platform/controls/control_util.h"
#include "platform/user/notify.h"

namespace platform::controls {
namespace {

struct StaticState {
  HFONT font = nullptr;
};

StateMap<StaticState>& States() {
  static StateMap<StaticState> m;
  return m;
}

UINT TextFormat(DWORD style) {
  UINT f = 0;
  switch (style & SS_TYPEMASK) {
    case SS_CENTER:
      f = DT_CENTER | DT_WORDBREAK;
      break;
    case SS_RIGHT:
      f = DT_RIGHT | DT_WORDBREAK;
      break;
    case SS_SIMPLE:
    case SS_LEFTNOWORDWRAP:
      f = DT_LEFT | DT_SINGLELINE;
      break;
    default:
      f = DT_LEFT | DT_WORDBREAK;
  }
  if (style & SS_NOPREFIX) f |= DT_NOPREFIX;
  if (style & SS_CENTERIMAGE) f = (f & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
  return f | DT_EXPANDTABS;
}

void Paint(HWND hwnd, const StaticState& s) {
  win32::PaintDc pg(hwnd);
  HDC dc = pg.get();
  RECT rc;
  GetClientRect(hwnd, &rc);
  const DWORD style = StyleOf(hwnd);
  if ((style & SS_TYPEMASK) == SS_ETCHEDHORZ) {
    DrawEdge(dc, &rc, EDGE_ETCHED, BF_TOP);
    return;
  }
  HFONT font = FontOr(s.font);  // copied before the parent runs
  HBRUSH bg = ControlColors(hwnd, dc, WM_CTLCOLORSTATIC);
  FillRect(dc, &rc, bg);
  win32::SelectedObject fg(dc, font);
  char text[4096];
  GetWindowTextA(hwnd, text, sizeof text);
  if (!IsWindowEnabled(hwnd)) {
    DrawDisabledText(dc, text, rc, TextFormat(style));
    return;
  }
  int mode = SetBkMode(dc, TRANSPARENT);
  DrawTextA(dc, text, -1, &rc, TextFormat(style));
  SetBkMode(dc, mode);
}

}  // namespace

LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  StaticState* s = States().Get(hwnd);
  // A fresh state at WM_NCCREATE, even if a handle value comes round again.
  if (!s || msg == WM_NCCREATE) {
    if (msg != WM_NCCREATE) return DefWindowProcA(hwnd, msg, wParam, lParam);
    s = States().Create(hwnd);
  }
  if (LRESULT r = 0; HandleCaptionMessage(hwnd, msg, wParam, lParam, s->font, &r)) return r;
  switch (msg) {
    case WM_NCDESTROY:
      States().Erase(hwnd);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint(hwnd, *s);
      return 0;
    case WM_LBUTTONDOWN:
      if (StyleOf(hwnd) & SS_NOTIFY) platform::user::NotifyParent(hwnd, STN_CLICKED);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

}  // namespace platform::controls
