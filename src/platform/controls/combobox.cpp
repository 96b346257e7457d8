// "ComboBox": an edit field (CBS_DROPDOWN, CBS_SIMPLE) or a selection field
// (CBS_DROPDOWNLIST) with a list that drops down under it.
//
// Sections: state and parts · the drop-down list · choosing · painting ·
// keyboard and mouse · the window procedure.
//
// The window keeps the height it was created with (the closed height), as
// the forms create their combo boxes. A height that plainly includes a
// list (more than three item heights) is split the Win32 way: the field
// gets the closed height and the rest goes to the list. Otherwise the list
// shows up to eight items.
#include <strings.h>

#include <algorithm>
#include <optional>
#include <string>

#include "platform/controls/control_util.h"
#include "platform/controls/listbox.h"
#include "platform/user/notify.h"

namespace platform::controls {
namespace {

constexpr int kButton = 17;  // width of the drop button
constexpr int kEdge = 2;     // the sunken border
constexpr int kEditId = 1001;

struct ComboState {
  HWND edit = nullptr;
  HWND list = nullptr;
  HFONT font = nullptr;
  bool dropped = false;
  bool focused = false;
  bool buttonDown = false;   // drawn pressed while the list is open
  bool settingText = false;  // our own text changes are no CBN_EDITCHANGE
  int listHeight = 0;        // 0: as many items as fit, up to eight
  int selAtDrop = -1;
  int itemHeight = 13;
};

StateMap<ComboState>& States() {
  static StateMap<ComboState> m;
  return m;
}

DWORD Kind(HWND hwnd) { return StyleOf(hwnd) & 3; }
bool HasEdit(HWND hwnd) { return Kind(hwnd) != CBS_DROPDOWNLIST; }
bool Drops(HWND hwnd) { return Kind(hwnd) != CBS_SIMPLE; }

LRESULT ToList(const ComboState& s, UINT msg, WPARAM w, LPARAM l) { return SendMessageA(s.list, msg, w, l); }
int CurSel(const ComboState& s) { return static_cast<int>(ToList(s, LB_GETCURSEL, 0, 0)); }

std::string ItemText(const ComboState& s, int i) {
  LRESULT n = ToList(s, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
  if (n < 0) return {};
  std::string t(static_cast<std::size_t>(n) + 1, '\0');
  ToList(s, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(t.data()));
  t.resize(static_cast<std::size_t>(n));
  return t;
}

// The closed field: where the text (or edit child) and the button are.
int FieldHeight(HWND hwnd) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  ComboState* s = States().Get(hwnd);
  if (Kind(hwnd) == CBS_SIMPLE && s) return std::min<int>(rc.bottom, s->itemHeight + 2 * kEdge + 4);
  return rc.bottom;
}

RECT ButtonRect(HWND hwnd) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  return RECT{rc.right - kEdge - kButton, kEdge, rc.right - kEdge, FieldHeight(hwnd) - kEdge};
}

RECT TextRect(HWND hwnd) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  int right = Drops(hwnd) ? rc.right - kEdge - kButton : rc.right - kEdge;
  return RECT{kEdge + 1, kEdge + 1, right - 1, FieldHeight(hwnd) - kEdge - 1};
}

void PlaceParts(HWND hwnd, ComboState& s) {
  RECT t = TextRect(hwnd);
  if (s.edit) MoveWindow(s.edit, t.left, t.top, t.right - t.left, t.bottom - t.top, TRUE);
  if (Kind(hwnd) == CBS_SIMPLE && s.list) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    int top = FieldHeight(hwnd);
    MoveWindow(s.list, 0, top, rc.right, std::max<int>(0, rc.bottom - top), TRUE);
  }
}

void SetFieldText(HWND hwnd, ComboState& s, const std::string& text) {
  if (s.edit) {
    s.settingText = true;
    SetWindowTextA(s.edit, text.c_str());
    if (ComboState* live = States().Get(hwnd)) live->settingText = false;
    SendMessageA(s.edit, EM_SETSEL, 0, -1);
  }
  InvalidateRect(hwnd, nullptr, FALSE);
}

void MeasureFont(HWND hwnd, ComboState& s) { s.itemHeight = FontLineHeight(hwnd, FontOr(s.font)); }

// --- The drop-down list.

void CloseList(HWND hwnd, ComboState& s, bool notify) {
  if (!s.dropped) return;
  s.dropped = false;
  s.buttonDown = false;
  ShowWindow(s.list, SW_HIDE);
  if (GetCapture() == hwnd) ReleaseCapture();
  InvalidateRect(hwnd, nullptr, FALSE);
  if (notify) platform::user::NotifyParent(hwnd, CBN_CLOSEUP);
}

void OpenList(HWND hwnd, ComboState& s) {
  if (s.dropped || !Drops(hwnd) || !IsWindowEnabled(hwnd)) return;
  platform::user::NotifyParent(hwnd, CBN_DROPDOWN);
  ComboState* live = States().Get(hwnd);
  if (!live) return;
  int n = static_cast<int>(ToList(*live, LB_GETCOUNT, 0, 0));
  int height = live->listHeight > 0 ? live->listHeight : std::clamp(n, 1, 8) * live->itemHeight + 2;
  bool scroll = n * live->itemHeight + 2 > height;
  DWORD style = StyleOf(live->list);
  style = scroll ? (style | WS_VSCROLL) : (style & ~WS_VSCROLL);
  SetWindowLongA(live->list, GWL_STYLE, static_cast<LONG>(style));
  RECT win;
  GetWindowRect(hwnd, &win);
  SetWindowPos(live->list, HWND_TOPMOST, win.left, win.top + FieldHeight(hwnd), win.right - win.left, height,
               SWP_NOACTIVATE | SWP_FRAMECHANGED);
  if (live->edit) {
    // The list opens on the item the field's text names, if any.
    char text[512];
    GetWindowTextA(live->edit, text, sizeof text);
    int match = static_cast<int>(
        ToList(*live, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text)));
    if (match >= 0) ToList(*live, LB_SETCURSEL, static_cast<WPARAM>(match), 0);
  }
  live->selAtDrop = CurSel(*live);
  ToList(*live, LB_SETCURSEL, static_cast<WPARAM>(live->selAtDrop), 0);  // and into view
  live->dropped = true;
  live->buttonDown = true;
  ShowWindow(live->list, SW_SHOWNA);
  // While the list shows, every click comes here: one outside closes it.
  SetCapture(hwnd);
  InvalidateRect(hwnd, nullptr, FALSE);
}

// --- Choosing.

// Selects item i as the user's choice: its text goes into the field, then
// CBN_SELCHANGE. The parent may destroy us in the notification.
void Choose(HWND hwnd, ComboState& s, int i) {
  ToList(s, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
  SetFieldText(hwnd, s, ItemText(s, i));
  platform::user::NotifyParent(hwnd, CBN_SELCHANGE);
}

void ChooseAndClose(HWND hwnd, int i) {
  ComboState* s = States().Get(hwnd);
  if (!s) return;
  CloseList(hwnd, *s, false);
  if (i >= 0) Choose(hwnd, *s, i);
  if (!(s = States().Get(hwnd))) return;
  platform::user::NotifyParent(hwnd, i >= 0 ? CBN_SELENDOK : CBN_SELENDCANCEL);
  if (States().Get(hwnd)) platform::user::NotifyParent(hwnd, CBN_CLOSEUP);
}

// --- Painting.

void Paint(HWND hwnd, ComboState& s) {
  win32::PaintDc pg(hwnd);
  HDC dc = pg.get();
  RECT rc;
  GetClientRect(hwnd, &rc);
  const bool enabled = IsWindowEnabled(hwnd);
  HFONT font = FontOr(s.font);
  // Disabled fields look like the dialog behind them, as disabled edits do.
  UINT colorMsg = enabled ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC;
  HBRUSH bg = ControlColors(hwnd, dc, colorMsg);
  ComboState* live = States().Get(hwnd);
  if (!live) return;
  RECT field{0, 0, rc.right, FieldHeight(hwnd)};
  DrawSunkenField(dc, field, GetSysColor(COLOR_WINDOW));
  RECT inside = field;
  InflateRect(&inside, -kEdge, -kEdge);
  FillRect(dc, &inside, bg);
  if (Drops(hwnd)) {
    RECT b = ButtonRect(hwnd);
    DrawButtonFrame(dc, b, live->buttonDown, false);
    if (live->buttonDown) OffsetRect(&b, 1, 1);
    DrawDownArrow(dc, b, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  }
  if (Kind(hwnd) != CBS_DROPDOWNLIST) return;
  RECT t = TextRect(hwnd);
  win32::SelectedObject fg(dc, font);
  SetBkMode(dc, TRANSPARENT);
  int cur = CurSel(*live);
  std::string text = cur >= 0 ? ItemText(*live, cur) : "";
  if (live->focused && !live->dropped) {
    FillSolid(dc, t, GetSysColor(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
  } else if (!enabled) {
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  }
  RECT tt = t;
  tt.left += 2;
  DrawTextA(dc, text.c_str(), -1, &tt, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (live->focused && !live->dropped) DrawFocusRect(dc, &t);
}

// --- Keyboard and mouse.

void Step(HWND hwnd, ComboState& s, int delta, bool toEnd) {
  int n = static_cast<int>(ToList(s, LB_GETCOUNT, 0, 0));
  if (n == 0) return;
  int cur = CurSel(s);
  int next =
      toEnd ? (delta < 0 ? 0 : n - 1) : std::clamp(cur < 0 ? (delta > 0 ? 0 : n - 1) : cur + delta, 0, n - 1);
  if (next == cur) return;
  Choose(hwnd, s, next);
}

void OnKey(HWND hwnd, ComboState& s, UINT msg, WPARAM key) {
  const bool alt = msg == WM_SYSKEYDOWN;
  if (key == VK_F4 || (alt && (key == VK_DOWN || key == VK_UP))) {
    if (s.dropped)
      ChooseAndClose(hwnd, CurSel(s));
    else
      OpenList(hwnd, s);
    return;
  }
  if (alt) return;
  const bool hasList = Kind(hwnd) == CBS_DROPDOWNLIST;
  switch (key) {
    case VK_UP:
      Step(hwnd, s, -1, false);
      break;
    case VK_DOWN:
      Step(hwnd, s, 1, false);
      break;
    case VK_PRIOR:
      Step(hwnd, s, -7, false);
      break;
    case VK_NEXT:
      Step(hwnd, s, 7, false);
      break;
    case VK_HOME:
      if (hasList || s.dropped) Step(hwnd, s, -1, true);
      break;
    case VK_END:
      if (hasList || s.dropped) Step(hwnd, s, 1, true);
      break;
    case VK_RETURN:
      if (s.dropped) ChooseAndClose(hwnd, CurSel(s));
      break;
    case VK_ESCAPE:
      if (s.dropped) {
        // Back to what was chosen before the list opened.
        int before = s.selAtDrop;
        if (before != CurSel(s)) {
          ToList(s, LB_SETCURSEL, static_cast<WPARAM>(before), 0);
          SetFieldText(hwnd, s, before >= 0 ? ItemText(s, before) : "");
        }
        if (States().Get(hwnd)) ChooseAndClose(hwnd, -1);
      }
      break;
    default:
      break;
  }
}

POINT ToListClient(HWND hwnd, const ComboState& s, LPARAM lParam) {
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ClientToScreen(hwnd, &p);
  ScreenToClient(s.list, &p);
  return p;
}

bool InList(const ComboState& s, POINT listClient) {
  RECT rc;
  GetClientRect(s.list, &rc);
  return PtInRect(&rc, listClient);
}

void OnMouse(HWND hwnd, ComboState& s, UINT msg, LPARAM lParam) {
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (s.dropped) {
    POINT lp = ToListClient(hwnd, s, lParam);
    LPARAM l = MAKELPARAM(lp.x, lp.y);
    if (msg == WM_MOUSEMOVE && InList(s, lp)) SendMessageA(s.list, WM_MOUSEMOVE, 0, l);
    if (msg == WM_LBUTTONUP && InList(s, lp)) SendMessageA(s.list, WM_LBUTTONUP, 0, l);
    if (msg == WM_LBUTTONUP) {
      s.buttonDown = false;
      InvalidateRect(hwnd, nullptr, FALSE);
    }
    if ((msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) && !InList(s, lp)) {
      RECT list;
      GetWindowRect(s.list, &list);
      POINT sp = p;
      ClientToScreen(hwnd, &sp);
      // On the list's scroll bar the click belongs to the list.
      if (PtInRect(&list, sp))
        SendMessageA(s.list, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(sp.x, sp.y));
      else
        ChooseAndClose(hwnd, -1);
    }
    return;
  }
  if (msg != WM_LBUTTONDOWN && msg != WM_LBUTTONDBLCLK) return;
  HWND focusTo = s.edit ? s.edit : hwnd;
  if (GetFocus() != focusTo) SetFocus(focusTo);
  ComboState* live = States().Get(hwnd);
  if (!live) return;
  RECT b = ButtonRect(hwnd);
  if (Kind(hwnd) == CBS_DROPDOWNLIST || (Drops(hwnd) && PtInRect(&b, p))) OpenList(hwnd, *live);
}

// CB_ messages that are the list's LB_ message under another number; the two that take no
// arguments pass none on.
struct ListForward {
  UINT cb;
  UINT lb;
  bool args;
};
constexpr ListForward kListForwards[] = {
    {CB_ADDSTRING, LB_ADDSTRING, true},
    {CB_INSERTSTRING, LB_INSERTSTRING, true},
    {CB_DELETESTRING, LB_DELETESTRING, true},
    {CB_GETCOUNT, LB_GETCOUNT, false},
    {CB_GETLBTEXT, LB_GETTEXT, true},
    {CB_GETLBTEXTLEN, LB_GETTEXTLEN, true},
    {CB_GETITEMDATA, LB_GETITEMDATA, true},
    {CB_SETITEMDATA, LB_SETITEMDATA, true},
    {CB_FINDSTRING, LB_FINDSTRING, true},
    {CB_FINDSTRINGEXACT, LB_FINDSTRINGEXACT, true},
    {CB_GETITEMHEIGHT, LB_GETITEMHEIGHT, false},
};

// The CB_ messages: the list and the field as a program reads and sets them. nullopt: not one of
// them.
std::optional<LRESULT> ListMessage(HWND hwnd, ComboState& s, UINT msg, WPARAM wParam, LPARAM lParam) {
  for (const ListForward& f : kListForwards)
    if (f.cb == msg) return f.args ? ToList(s, f.lb, wParam, lParam) : ToList(s, f.lb, 0, 0);
  switch (msg) {
    case CB_GETCURSEL:
      return CurSel(s);
    case CB_RESETCONTENT:
      ToList(s, LB_RESETCONTENT, 0, 0);
      if (!s.edit) InvalidateRect(hwnd, nullptr, FALSE);
      return 0;  // CB_OKAY
    case CB_SETCURSEL: {
      LRESULT r = ToList(s, LB_SETCURSEL, wParam, 0);
      int cur = CurSel(s);
      SetFieldText(hwnd, s, cur >= 0 ? ItemText(s, cur) : "");
      return r;
    }
    case CB_SELECTSTRING: {
      int i = static_cast<int>(ToList(s, LB_FINDSTRING, wParam, lParam));
      if (i < 0) return CB_ERR;
      ToList(s, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
      SetFieldText(hwnd, s, ItemText(s, i));
      return i;
    }
    case CB_SHOWDROPDOWN:
      if (wParam)
        OpenList(hwnd, s);
      else
        CloseList(hwnd, s, true);
      return TRUE;
    case CB_GETDROPPEDSTATE:
      return s.dropped ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT:
      if (!lParam || !s.list) return CB_ERR;
      GetWindowRect(s.list, reinterpret_cast<RECT*>(lParam));
      return TRUE;
    case CB_GETEDITSEL:
      return s.edit ? SendMessageA(s.edit, EM_GETSEL, wParam, lParam) : CB_ERR;
    case CB_SETEDITSEL:
      if (!s.edit) return CB_ERR;
      SendMessageA(s.edit, EM_SETSEL, static_cast<WPARAM>(static_cast<short>(LOWORD(lParam))),
                   static_cast<LPARAM>(static_cast<short>(HIWORD(lParam))));
      return TRUE;
    case CB_LIMITTEXT:
      if (s.edit) SendMessageA(s.edit, EM_LIMITTEXT, wParam, 0);
      return TRUE;
    default:
      return std::nullopt;
  }
}

}  // namespace

// --- The window procedure.

LRESULT CALLBACK ComboBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  ComboState* s = States().Get(hwnd);
  if (!s || msg == WM_NCCREATE) {
    if (msg != WM_NCCREATE) return DefWindowProcA(hwnd, msg, wParam, lParam);
    States().Create(hwnd);
    // A scroll-bar style on a combo box is meant for its list; the field
    // itself never shows one.
    SetWindowLongA(hwnd, GWL_STYLE,
                   GetWindowLongA(hwnd, GWL_STYLE) & ~static_cast<LONG>(WS_VSCROLL | WS_HSCROLL));
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  switch (msg) {
    case WM_CREATE: {
      MeasureFont(hwnd, *s);
      auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      HINSTANCE inst = cs ? cs->hInstance : nullptr;
      const DWORD style = StyleOf(hwnd);
      const bool enabled = !(style & WS_DISABLED);
      if (Drops(hwnd)) {
        s->list = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "ComboLBox", "", WS_POPUP | WS_BORDER, 0,
                                  0, 10, 10, hwnd, nullptr, inst, hwnd);
        RECT rc;
        GetClientRect(hwnd, &rc);
        int closed = s->itemHeight + 8;
        if (rc.bottom > closed + 3 * s->itemHeight) {
          s->listHeight = rc.bottom - closed;
          SetWindowPos(hwnd, nullptr, 0, 0, cs ? cs->cx : rc.right, closed,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
      } else {
        s->list = CreateWindowExA(0, "ComboLBox", "", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL, 0, 0,
                                  10, 10, hwnd, nullptr, inst, hwnd);
      }
      if (!s->list) return -1;
      if (style & CBS_SORT) SetWindowLongA(s->list, GWL_STYLE, GetWindowLongA(s->list, GWL_STYLE) | LBS_SORT);
      if (HasEdit(hwnd)) {
        s->edit =
            CreateWindowExA(0, "Edit", cs && cs->lpszName ? cs->lpszName : "",
                            WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | (enabled ? 0 : WS_DISABLED), 0, 0, 10,
                            10, hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), inst, nullptr);
        if (!s->edit) return -1;
      }
      PlaceParts(hwnd, *s);
      return 0;
    }
    case WM_DESTROY:
      if (s->list && IsWindow(s->list) && Drops(hwnd)) DestroyWindow(s->list);
      if ((s = States().Get(hwnd))) s->list = nullptr;
      return 0;
    case WM_NCDESTROY:
      States().Erase(hwnd);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_SIZE:
      PlaceParts(hwnd, *s);
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFONT:
      s->font = reinterpret_cast<HFONT>(wParam);
      MeasureFont(hwnd, *s);
      if (s->edit) SendMessageA(s->edit, WM_SETFONT, wParam, lParam);
      if (s->list) SendMessageA(s->list, WM_SETFONT, wParam, lParam);
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(FontOr(s->font));
    case WM_ENABLE:
      if (s->edit) EnableWindow(s->edit, wParam != 0);
      if (!wParam && (s = States().Get(hwnd))) CloseList(hwnd, *s, true);
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_SETTEXT: {
      const char* text = reinterpret_cast<const char*>(lParam);
      if (s->edit) {
        SetFieldText(hwnd, *s, text ? text : "");
        return TRUE;
      }
      // A list-only field shows items only.
      int i = static_cast<int>(ToList(*s, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), lParam));
      if (i < 0) return CB_ERR;
      ToList(*s, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
      InvalidateRect(hwnd, nullptr, FALSE);
      return TRUE;
    }
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: {
      if (s->edit) return SendMessageA(s->edit, msg, wParam, lParam);
      int cur = CurSel(*s);
      std::string t = cur >= 0 ? ItemText(*s, cur) : "";
      if (msg == WM_GETTEXTLENGTH) return static_cast<LRESULT>(t.size());
      if (!wParam || !lParam) return 0;
      std::size_t n = std::min<std::size_t>(t.size(), wParam - 1);
      t.copy(reinterpret_cast<char*>(lParam), n);
      reinterpret_cast<char*>(lParam)[n] = '\0';
      return static_cast<LRESULT>(n);
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint(hwnd, *s);
      return 0;
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
      // The parts' colours are the parent's to choose, as for the combo box.
      HWND parent = GetParent(hwnd);
      LRESULT r = parent ? SendMessageA(parent, msg, wParam, lParam) : 0;
      return r ? r : DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == kEditId && reinterpret_cast<HWND>(lParam) == s->edit && !s->settingText) {
        WORD code = HIWORD(wParam);
        if (code == EN_CHANGE)
          platform::user::NotifyParent(hwnd, CBN_EDITCHANGE);
        else if (code == EN_UPDATE)
          platform::user::NotifyParent(hwnd, CBN_EDITUPDATE);
      }
      return 0;
    case WM_SETFOCUS:
      if (s->edit) {
        SetFocus(s->edit);
        return 0;
      }
      s->focused = true;
      InvalidateRect(hwnd, nullptr, FALSE);
      platform::user::NotifyParent(hwnd, CBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      s->focused = false;
      if (reinterpret_cast<HWND>(wParam) != s->edit) CloseList(hwnd, *s, true);
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (msg == WM_SYSKEYDOWN && wParam != VK_DOWN && wParam != VK_UP)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
      OnKey(hwnd, *s, msg, wParam);
      return 0;
    case WM_MOUSEWHEEL:
      if (s->dropped) return SendMessageA(s->list, msg, wParam, lParam);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
      OnMouse(hwnd, *s, msg, lParam);
      return 0;
    case WM_CAPTURECHANGED:
      if (s->dropped && reinterpret_cast<HWND>(lParam) != hwnd) {
        // Someone else took the mouse: the list cannot stay open.
        s->dropped = false;
        s->buttonDown = false;
        ShowWindow(s->list, SW_HIDE);
        InvalidateRect(hwnd, nullptr, FALSE);
        platform::user::NotifyParent(hwnd, CBN_CLOSEUP);
      }
      return 0;
    case kComboListChose:
      if (s->dropped)
        ChooseAndClose(hwnd, static_cast<int>(wParam));
      else if (static_cast<int>(wParam) >= 0)
        Choose(hwnd, *s, static_cast<int>(wParam));  // the simple kind
      return 0;
    default:
      if (const std::optional<LRESULT> r = ListMessage(hwnd, *s, msg, wParam, lParam)) return *r;
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

}  // namespace platform::controls
