// "Button": push buttons, check boxes, three-state boxes, radio buttons,
// group boxes and owner-drawn buttons.
//
// Sections: state and kinds · radio groups · painting · clicking · the
// window procedure.
#include <strings.h>

#include <algorithm>

#include "platform/controls/control_util.h"
#include "platform/user/notify.h"

namespace platform::controls {
namespace {

struct ButtonState {
  HFONT font = nullptr;
  UINT check = BST_UNCHECKED;
  bool pushed = false;
  bool focused = false;
  bool mouseDown = false;  // the left button went down on us and we hold capture
  bool spaceDown = false;
};

StateMap<ButtonState>& States() {
  static StateMap<ButtonState> m;
  return m;
}

DWORD Kind(HWND hwnd) { return StyleOf(hwnd) & BS_TYPEMASK; }

bool IsPush(DWORD kind) { return kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON; }
bool IsCheckKind(DWORD kind) {
  return kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_3STATE || kind == BS_AUTO3STATE;
}
bool IsRadio(DWORD kind) { return kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON; }
UINT MaxCheck(DWORD kind) {
  if (kind == BS_3STATE || kind == BS_AUTO3STATE) return BST_INDETERMINATE;
  return IsCheckKind(kind) || IsRadio(kind) ? BST_CHECKED : BST_UNCHECKED;
}

bool IsButtonOfKind(HWND hwnd, DWORD kind) {
  char name[16];
  GetClassNameA(hwnd, name, sizeof name);
  return strcasecmp(name, "Button") == 0 && Kind(hwnd) == kind;
}

// --- Radio groups: the siblings from the last WS_GROUP mark at or before
// the button up to (not including) the next mark.

void UncheckOthersInGroup(HWND hwnd) {
  HWND start = hwnd;
  while (!(GetWindowLongA(start, GWL_STYLE) & WS_GROUP)) {
    HWND prev = GetWindow(start, GW_HWNDPREV);
    if (!prev) break;
    start = prev;
  }
  for (HWND w = start; w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (w != start && (GetWindowLongA(w, GWL_STYLE) & WS_GROUP)) break;
    if (w != hwnd && IsButtonOfKind(w, BS_AUTORADIOBUTTON)) SendMessageA(w, BM_SETCHECK, BST_UNCHECKED, 0);
  }
}

// --- Painting.

constexpr int kBoxSize = 13;  // check box square and radio circle

UINT TextFormat(DWORD style, DWORD kind) {
  UINT f = DT_SINGLELINE | DT_VCENTER;
  DWORD h = style & BS_CENTER;
  if (h == BS_CENTER || (h == 0 && IsPush(kind)))
    f |= DT_CENTER;
  else if (h == BS_RIGHT)
    f |= DT_RIGHT;
  if (style & BS_MULTILINE) f = (f & ~DT_SINGLELINE) | DT_WORDBREAK;
  return f;
}

void DrawCaption(HWND hwnd, HDC dc, RECT r, UINT format) {
  char text[1024];
  GetWindowTextA(hwnd, text, sizeof text);
  if (!IsWindowEnabled(hwnd)) {
    DrawDisabledText(dc, text, r, format);
    return;
  }
  int mode = SetBkMode(dc, TRANSPARENT);
  DrawTextA(dc, text, -1, &r, format);
  SetBkMode(dc, mode);
}

// Where the caption's text lands; the focus rectangle goes around it.
RECT CaptionBounds(HWND hwnd, HDC dc, RECT r, UINT format) {
  char text[1024];
  int n = GetWindowTextA(hwnd, text, sizeof text);
  RECT calc = r;
  DrawTextA(dc, n ? text : " ", -1, &calc, format | DT_CALCRECT);
  int w = calc.right - calc.left, h = calc.bottom - calc.top;
  RECT out;
  out.left = (format & DT_CENTER)  ? r.left + (r.right - r.left - w) / 2
             : (format & DT_RIGHT) ? r.right - w
                                   : r.left;
  out.top = r.top + (r.bottom - r.top - h) / 2;
  out.right = out.left + w;
  out.bottom = out.top + h;
  InflateRect(&out, 1, 1);
  IntersectRect(&out, &out, &r);
  return out;
}

void PaintPush(HWND hwnd, HDC dc, const ButtonState& s, const RECT& rc) {
  ControlColors(hwnd, dc, WM_CTLCOLORBTN);
  DrawButtonFrame(dc, rc, s.pushed, Kind(hwnd) == BS_DEFPUSHBUTTON || s.focused);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  RECT text = rc;
  InflateRect(&text, -4, -4);
  if (s.pushed) OffsetRect(&text, 1, 1);
  UINT format = TextFormat(StyleOf(hwnd), Kind(hwnd));
  DrawCaption(hwnd, dc, text, format);
  if (s.focused) {
    RECT focus = rc;
    InflateRect(&focus, -4, -4);
    DrawFocusRect(dc, &focus);
  }
}

void DrawCheckMark(HDC dc, const RECT& box, COLORREF c) {
  // The classic 7×7 tick: three pixels thick, down two then up four.
  int x = box.left + 3, y = box.top + 5;
  for (int i = 0; i < 7; ++i) {
    int dy = i < 3 ? i : 4 - i;
    FillSolid(dc, RECT{x + i, y + dy, x + i + 1, y + dy + 3}, c);
  }
}

void PaintCheckOrRadio(HWND hwnd, HDC dc, const ButtonState& s, const RECT& rc, bool radio) {
  HBRUSH bg = ControlColors(hwnd, dc, WM_CTLCOLORSTATIC);
  FillRect(dc, &rc, bg);
  const bool enabled = IsWindowEnabled(hwnd);
  RECT box{rc.left, rc.top + (rc.bottom - rc.top - kBoxSize) / 2, 0, 0};
  box.right = box.left + kBoxSize;
  box.bottom = box.top + kBoxSize;
  COLORREF inside = GetSysColor((s.pushed || !enabled) ? COLOR_3DFACE : COLOR_WINDOW);
  COLORREF mark = GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
  if (!radio) {
    if (s.check == BST_INDETERMINATE) inside = GetSysColor(COLOR_3DLIGHT), mark = GetSysColor(COLOR_3DSHADOW);
    DrawSunkenField(dc, box, inside);
    if (s.check != BST_UNCHECKED) DrawCheckMark(dc, box, mark);
  } else {
    HGDIOBJ oldPen = SelectObject(dc, CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DSHADOW)));
    HGDIOBJ oldBrush = SelectObject(dc, CreateSolidBrush(inside));
    Ellipse(dc, box.left, box.top, box.right - 1, box.bottom - 1);
    DeleteObject(SelectObject(dc, oldBrush));
    DeleteObject(SelectObject(dc, oldPen));
    if (s.check == BST_CHECKED) {
      int cx = box.left + 6, cy = box.top + 6;
      FillSolid(dc, RECT{cx - 2, cy - 1, cx + 2, cy + 1}, mark);
      FillSolid(dc, RECT{cx - 1, cy - 2, cx + 1, cy + 2}, mark);
    }
  }
  RECT text{box.right + 4, rc.top, rc.right, rc.bottom};
  UINT format = TextFormat(StyleOf(hwnd), Kind(hwnd));
  DrawCaption(hwnd, dc, text, format);
  if (s.focused) {
    RECT focus = CaptionBounds(hwnd, dc, text, format);
    DrawFocusRect(dc, &focus);
  }
}

void PaintGroupBox(HWND hwnd, HDC dc, const RECT& rc) {
  HBRUSH bg = ControlColors(hwnd, dc, WM_CTLCOLORSTATIC);
  FillRect(dc, &rc, bg);
  int lh = LineHeight(dc);
  RECT frame{rc.left, rc.top + lh / 2, rc.right, rc.bottom};
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  char text[512];
  if (GetWindowTextA(hwnd, text, sizeof text) == 0) return;
  RECT t{rc.left + 8, rc.top, rc.right - 8, rc.top + lh};
  DrawTextA(dc, text, -1, &t, DT_SINGLELINE | DT_CALCRECT);
  t.right = std::min<LONG>(t.right + 2, rc.right - 6);
  t.left -= 2;
  FillRect(dc, &t, bg);
  OffsetRect(&t, 2, 0);
  DrawCaption(hwnd, dc, t, DT_SINGLELINE | DT_LEFT);
}

void PaintOwnerDraw(HWND hwnd, HDC dc, const ButtonState& s, const RECT& rc, UINT action = ODA_DRAWENTIRE) {
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_BUTTON;
  dis.CtlID = static_cast<UINT>(ControlId(hwnd));
  dis.itemAction = action;
  dis.itemState = (s.pushed ? ODS_SELECTED : 0) | (s.focused ? ODS_FOCUS : 0) |
                  (IsWindowEnabled(hwnd) ? 0 : ODS_DISABLED);
  dis.hwndItem = hwnd;
  dis.hDC = dc;
  dis.rcItem = rc;
  if (HWND parent = GetParent(hwnd))
    SendMessageA(parent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
}

void Paint(HWND hwnd, ButtonState& s) {
  win32::PaintDc pg(hwnd);
  HDC dc = pg.get();
  RECT rc;
  GetClientRect(hwnd, &rc);
  win32::SelectedObject font(dc, FontOr(s.font));
  ButtonState copy = s;  // the parent may destroy us while it colours or draws
  switch (DWORD kind = Kind(hwnd)) {
    case BS_OWNERDRAW:
      PaintOwnerDraw(hwnd, dc, copy, rc);
      break;
    case BS_GROUPBOX:
      PaintGroupBox(hwnd, dc, rc);
      break;
    default:
      if (IsCheckKind(kind))
        PaintCheckOrRadio(hwnd, dc, copy, rc, false);
      else if (IsRadio(kind))
        PaintCheckOrRadio(hwnd, dc, copy, rc, true);
      else
        PaintPush(hwnd, dc, copy, rc);
  }
}

// An owner-drawn button hears of a press or a focus change at once, in a WM_DRAWITEM for that
// change alone (ODA_SELECT, ODA_FOCUS), and is not repainted as a whole: whoever draws it may be in
// the middle of an animation of its own, which a WM_PAINT would cut short. Other kinds repaint.
void ShowChange(HWND hwnd, const ButtonState& s, UINT action) {
  if (Kind(hwnd) != BS_OWNERDRAW) {
    InvalidateRect(hwnd, nullptr, FALSE);
    return;
  }
  win32::WindowDc dc(hwnd, /*client=*/true);
  if (!dc.get()) return;
  RECT rc;
  GetClientRect(hwnd, &rc);
  win32::SelectedObject font(dc.get(), FontOr(s.font));
  ButtonState copy = s;  // the parent may destroy us while it draws
  PaintOwnerDraw(hwnd, dc.get(), copy, rc, action);
}

// --- Clicking.

void SetPushed(HWND hwnd, ButtonState& s, bool pushed) {
  if (s.pushed == pushed) return;
  s.pushed = pushed;
  ShowChange(hwnd, s, ODA_SELECT);
}

void Clicked(HWND hwnd) {
  const DWORD kind = Kind(hwnd);
  UINT check = static_cast<UINT>(SendMessageA(hwnd, BM_GETCHECK, 0, 0));
  if (kind == BS_AUTOCHECKBOX) SendMessageA(hwnd, BM_SETCHECK, check == BST_CHECKED ? 0 : 1, 0);
  if (kind == BS_AUTO3STATE) SendMessageA(hwnd, BM_SETCHECK, (check + 1) % 3, 0);
  if (kind == BS_AUTORADIOBUTTON) {
    SendMessageA(hwnd, BM_SETCHECK, BST_CHECKED, 0);
    UncheckOthersInGroup(hwnd);
  }
  platform::user::NotifyParent(hwnd, BN_CLICKED);
}

bool Inside(HWND hwnd, LPARAM lParam) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  return PtInRect(&rc, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
}

}  // namespace

// --- The window procedure.

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  ButtonState* s = States().Get(hwnd);
  // A fresh state at WM_NCCREATE, even if a handle value comes round again.
  if (!s || msg == WM_NCCREATE) {
    if (msg != WM_NCCREATE) return DefWindowProcA(hwnd, msg, wParam, lParam);
    s = States().Create(hwnd);
  }
  const DWORD kind = Kind(hwnd);
  if (LRESULT r = 0; HandleCaptionMessage(hwnd, msg, wParam, lParam, s->font, &r)) return r;
  switch (msg) {
    case WM_NCDESTROY:
      States().Erase(hwnd);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_GETDLGCODE:
      if (kind == BS_GROUPBOX) return DLGC_STATIC;
      if (IsRadio(kind)) return DLGC_BUTTON | DLGC_RADIOBUTTON;
      if (kind == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
      if (kind == BS_PUSHBUTTON) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
      return DLGC_BUTTON;
    case WM_ERASEBKGND:
      return 1;  // painting covers the whole client area
    case WM_PAINT:
      Paint(hwnd, *s);
      return 0;
    case WM_SETFOCUS:
      s->focused = true;
      ShowChange(hwnd, *s, ODA_FOCUS);
      if (StyleOf(hwnd) & BS_NOTIFY) platform::user::NotifyParent(hwnd, BN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      s->focused = false;
      s->spaceDown = false;
      SetPushed(hwnd, *s, false);
      if (GetCapture() == hwnd) ReleaseCapture();
      if (StyleOf(hwnd) & BS_NOTIFY) platform::user::NotifyParent(hwnd, BN_KILLFOCUS);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (kind == BS_GROUPBOX) return 0;
      SetCapture(hwnd);
      if (GetFocus() != hwnd) SetFocus(hwnd);
      if (!(s = States().Get(hwnd))) return 0;
      s->mouseDown = true;
      SetPushed(hwnd, *s, true);
      return 0;
    case WM_MOUSEMOVE:
      if (s->mouseDown && GetCapture() == hwnd) SetPushed(hwnd, *s, Inside(hwnd, lParam));
      return 0;
    case WM_LBUTTONUP: {
      if (!s->mouseDown) return 0;
      bool inside = Inside(hwnd, lParam);
      s->mouseDown = false;
      SetPushed(hwnd, *s, false);
      if (GetCapture() == hwnd) ReleaseCapture();
      if (inside && IsWindow(hwnd)) Clicked(hwnd);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (s->mouseDown) {
        s->mouseDown = false;
        SetPushed(hwnd, *s, false);
      }
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_SPACE && kind != BS_GROUPBOX) {
        if (!(lParam & 0x40000000)) {  // not an auto-repeat
          s->spaceDown = true;
          SetPushed(hwnd, *s, true);
        }
        return 0;
      }
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_KEYUP:
      if (wParam == VK_SPACE && s->spaceDown) {
        s->spaceDown = false;
        bool wasPushed = s->pushed;
        SetPushed(hwnd, *s, false);
        if (wasPushed && IsWindow(hwnd)) Clicked(hwnd);
        return 0;
      }
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case BM_GETCHECK:
      return IsCheckKind(kind) || IsRadio(kind) ? s->check : BST_UNCHECKED;
    case BM_SETCHECK: {
      UINT v = std::min<UINT>(static_cast<UINT>(wParam), MaxCheck(kind));
      if (v != s->check) {
        s->check = v;
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      return 0;
    }
    case BM_GETSTATE:
      return s->check | (s->pushed ? BST_PUSHED : 0) | (s->focused ? BST_FOCUS : 0);
    case BM_SETSTATE:
      SetPushed(hwnd, *s, wParam != 0);
      return 0;
    case BM_SETSTYLE: {
      DWORD style = (StyleOf(hwnd) & ~BS_TYPEMASK) | (static_cast<DWORD>(wParam) & BS_TYPEMASK);
      SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>(style));
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    }
    case BM_CLICK:
      if (!IsWindowEnabled(hwnd)) return 0;
      SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
      SendMessageA(hwnd, WM_LBUTTONUP, 0, 0);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

}  // namespace platform::controls
