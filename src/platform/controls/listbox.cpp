// "ListBox" and "ComboLBox" (the list of a combo box): single selection,
// a classic vertical scroll bar, tab-stopped columns.
//
// Sections: state · geometry · scroll bar · painting · selection and
// notifications · items · the window procedure.
#include <strings.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/controls/control_util.h"
#include "platform/controls/listbox.h"
#include "platform/user/notify.h"

namespace platform::controls {
namespace {

constexpr int kBar = 17;  // SM_CXVSCROLL

struct Item {
  std::string text;
  LPARAM data = 0;
};

struct ListState {
  std::vector<Item> items;
  int cur = -1;
  int top = 0;
  int itemHeight = 13;
  HFONT font = nullptr;
  bool focused = false;
  bool tracking = false;   // left button down in the items, capture held
  bool thumbDrag = false;  // dragging the scroll box
  int thumbGrab = 0;       // where in the scroll box it was taken
  HWND combo = nullptr;    // set for a combo box's list
  std::vector<int> tabs;   // in pixels from the item's left
};

StateMap<ListState>& States() {
  static StateMap<ListState> m;
  return m;
}

// --- Geometry.

int Visible(HWND hwnd, const ListState& s) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  return std::max(1, static_cast<int>(rc.bottom / std::max(1, s.itemHeight)));
}

int MaxTop(HWND hwnd, const ListState& s) {
  return std::max(0, static_cast<int>(s.items.size()) - Visible(hwnd, s));
}

void SetTop(HWND hwnd, ListState& s, int top) {
  top = std::clamp(top, 0, MaxTop(hwnd, s));
  if (top == s.top) return;
  s.top = top;
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

void EnsureVisible(HWND hwnd, ListState& s, int index) {
  if (index < 0) return;
  if (index < s.top)
    SetTop(hwnd, s, index);
  else if (index >= s.top + Visible(hwnd, s))
    SetTop(hwnd, s, index - Visible(hwnd, s) + 1);
}

int ItemAt(const ListState& s, int y) {
  if (y < 0) return -1;
  int i = s.top + y / std::max(1, s.itemHeight);
  return i < static_cast<int>(s.items.size()) ? i : -1;
}

// --- Scroll bar: drawn over the placeholder the frame paints, in window
// coordinates.

struct Bar {
  RECT track;  // between the arrow buttons
  RECT thumb;
  RECT up, down;
  bool valid = false;
};

Bar BarOf(HWND hwnd, const ListState& s) {
  Bar b;
  if (!(StyleOf(hwnd) & WS_VSCROLL)) return b;
  RECT client, win;
  GetClientRect(hwnd, &client);
  GetWindowRect(hwnd, &win);
  POINT o{0, 0};
  ClientToScreen(hwnd, &o);
  int left = o.x - win.left + client.right, top = o.y - win.top, bottom = top + client.bottom;
  int btn = std::min(kBar, (bottom - top) / 2);
  b.up = RECT{left, top, left + kBar, top + btn};
  b.down = RECT{left, bottom - btn, left + kBar, bottom};
  b.track = RECT{left, top + btn, left + kBar, bottom - btn};
  int trackLen = b.track.bottom - b.track.top;
  int n = static_cast<int>(s.items.size()), vis = Visible(hwnd, s);
  b.valid = true;
  if (n <= vis || trackLen < 8) {
    b.thumb = RECT{0, 0, 0, 0};
    return b;
  }
  int len = std::max(8, trackLen * vis / n);
  int pos = (trackLen - len) * s.top / std::max(1, n - vis);
  b.thumb = RECT{left, b.track.top + pos, left + kBar, b.track.top + pos + len};
  return b;
}

void PaintThumb(HWND hwnd, const ListState& s) {
  Bar b = BarOf(hwnd, s);
  if (!b.valid || IsRectEmpty(&b.thumb)) return;
  win32::WindowDc dc(hwnd);
  RECT t = b.thumb;
  DrawEdge(dc.get(), &t, EDGE_RAISED, BF_RECT | BF_MIDDLE);
}

POINT ToWindow(HWND hwnd, POINT client) {
  RECT win;
  GetWindowRect(hwnd, &win);
  ClientToScreen(hwnd, &client);
  return POINT{client.x - win.left, client.y - win.top};
}

void BarClick(HWND hwnd, ListState& s, POINT w) {
  Bar b = BarOf(hwnd, s);
  if (!b.valid) return;
  int page = Visible(hwnd, s);
  if (PtInRect(&b.up, w))
    SetTop(hwnd, s, s.top - 1);
  else if (PtInRect(&b.down, w))
    SetTop(hwnd, s, s.top + 1);
  else if (PtInRect(&b.thumb, w)) {
    s.thumbDrag = true;
    s.thumbGrab = w.y - b.thumb.top;
    SetCapture(hwnd);
  } else if (w.y < b.thumb.top)
    SetTop(hwnd, s, s.top - page);
  else
    SetTop(hwnd, s, s.top + page);
}

void ThumbDrag(HWND hwnd, ListState& s, POINT w) {
  Bar b = BarOf(hwnd, s);
  int trackLen = b.track.bottom - b.track.top, len = b.thumb.bottom - b.thumb.top;
  if (trackLen <= len) return;
  int pos = w.y - s.thumbGrab - b.track.top;
  SetTop(hwnd, s, (pos * MaxTop(hwnd, s) + (trackLen - len) / 2) / (trackLen - len));
}

// --- Painting.

bool IsPopup(HWND hwnd) { return StyleOf(hwnd) & WS_POPUP; }

void DrawItemText(HDC dc, const ListState& s, const std::string& text, RECT r) {
  r.left += 2;
  if (s.tabs.empty() && text.find('\t') == std::string::npos) {
    DrawTextA(dc, text.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    return;
  }
  // Columns: the n-th tab moves to the n-th stop (or every 32 pixels).
  std::size_t from = 0;
  int col = 0;
  for (;;) {
    std::size_t tab = text.find('\t', from);
    std::string part = text.substr(from, tab == std::string::npos ? std::string::npos : tab - from);
    RECT cell = r;
    if (col > 0)
      cell.left = r.left + (col - 1 < static_cast<int>(s.tabs.size()) ? s.tabs[col - 1] : 32 * col);
    if (col < static_cast<int>(s.tabs.size())) cell.right = std::min<LONG>(r.right, r.left + s.tabs[col] - 4);
    DrawTextA(dc, part.c_str(), -1, &cell, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (tab == std::string::npos) break;
    from = tab + 1;
    ++col;
  }
}

void Paint(HWND hwnd, ListState& s) {
  win32::PaintDc pg(hwnd);
  HDC dc = pg.get();
  RECT rc;
  GetClientRect(hwnd, &rc);
  HFONT font = FontOr(s.font);
  HBRUSH bg = ControlColors(hwnd, dc, WM_CTLCOLORLISTBOX, s.combo);
  ListState* live = States().Get(hwnd);
  if (!live) return;
  FillRect(dc, &rc, bg);
  win32::SelectedObject fg(dc, font);
  SetBkMode(dc, TRANSPARENT);
  const bool enabled = IsWindowEnabled(hwnd);
  COLORREF text = enabled ? GetTextColor(dc) : GetSysColor(COLOR_GRAYTEXT);
  int n = static_cast<int>(live->items.size());
  for (int i = live->top, y = 0; i < n && y < rc.bottom; ++i, y += live->itemHeight) {
    RECT r{0, y, rc.right, y + live->itemHeight};
    bool sel = i == live->cur;
    if (sel) FillSolid(dc, r, GetSysColor(COLOR_HIGHLIGHT));
    SetTextColor(dc, sel ? GetSysColor(COLOR_HIGHLIGHTTEXT) : text);
    DrawItemText(dc, *live, live->items[static_cast<std::size_t>(i)].text, r);
    if (sel && live->focused && !live->combo) DrawFocusRect(dc, &r);
  }
  if (IsPopup(hwnd)) {
    // A top-level window's border belongs to the desktop, so the drop-down
    // list draws its one-pixel frame itself: here the client part of it,
    // the rest with the scroll bar.
    HBRUSH frame = GetSysColorBrush(COLOR_WINDOWFRAME);
    RECT edge = rc;
    if (StyleOf(hwnd) & WS_VSCROLL) edge.right += 1;
    FrameRect(dc, &edge, frame);
  }
}

void PaintPopupFrame(HWND hwnd) {
  RECT win;
  GetWindowRect(hwnd, &win);
  OffsetRect(&win, -win.left, -win.top);
  win32::WindowDc dc(hwnd);
  FrameRect(dc.get(), &win, GetSysColorBrush(COLOR_WINDOWFRAME));
}

// --- Selection and notifications.

void Notify(HWND hwnd, WORD code) {
  if (StyleOf(hwnd) & LBS_NOTIFY) platform::user::NotifyParent(hwnd, code);
}

// Selects index (clamped; -1 clears). Returns true when it changed.
bool Select(HWND hwnd, ListState& s, int index) {
  int n = static_cast<int>(s.items.size());
  if (index >= n) index = n - 1;
  if (index < -1) index = -1;
  EnsureVisible(hwnd, s, index);
  if (index == s.cur) return false;
  s.cur = index;
  InvalidateRect(hwnd, nullptr, FALSE);
  return true;
}

void UserSelect(HWND hwnd, ListState& s, int index) {
  if (Select(hwnd, s, index)) Notify(hwnd, LBN_SELCHANGE);
}

void OnKey(HWND hwnd, ListState& s, WPARAM key) {
  int n = static_cast<int>(s.items.size()), page = Visible(hwnd, s);
  if (n == 0) return;
  int cur = s.cur;
  switch (key) {
    case VK_UP:
      cur = std::max(0, cur - 1);
      break;
    case VK_DOWN:
      cur = cur < 0 ? 0 : std::min(n - 1, cur + 1);
      break;
    case VK_PRIOR:
      cur = std::max(0, cur - page + 1);
      break;
    case VK_NEXT:
      cur = std::min(n - 1, std::max(0, cur) + page - 1);
      break;
    case VK_HOME:
      cur = 0;
      break;
    case VK_END:
      cur = n - 1;
      break;
    default:
      return;
  }
  UserSelect(hwnd, s, cur);
}

// --- Items.

int Find(const ListState& s, int after, const char* text, bool exact) {
  int n = static_cast<int>(s.items.size());
  if (!text || n == 0) return LB_ERR;
  std::size_t len = std::strlen(text);
  int start = (after < -1 || after >= n) ? 0 : after + 1;
  for (int k = 0; k < n; ++k) {
    int i = (start + k) % n;
    const std::string& t = s.items[static_cast<std::size_t>(i)].text;
    bool hit = exact ? strcasecmp(t.c_str(), text) == 0 : strncasecmp(t.c_str(), text, len) == 0;
    if (hit) return i;
  }
  return LB_ERR;
}

LRESULT Insert(HWND hwnd, ListState& s, int index, const char* text) {
  int n = static_cast<int>(s.items.size());
  std::string t = SanitizeUtf8(text ? text : "");
  if (index < 0 || index > n) index = n;
  s.items.insert(s.items.begin() + index, Item{std::move(t), 0});
  if (s.cur >= index) ++s.cur;
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
  return index;
}

int SortedPosition(const ListState& s, const char* text) {
  auto it = std::upper_bound(
      s.items.begin(), s.items.end(), std::string(text ? text : ""),
      [](const std::string& a, const Item& b) { return strcasecmp(a.c_str(), b.text.c_str()) < 0; });
  return static_cast<int>(it - s.items.begin());
}

bool Valid(const ListState& s, WPARAM i) { return static_cast<std::size_t>(i) < s.items.size(); }

void MeasureFont(HWND hwnd, ListState& s) { s.itemHeight = FontLineHeight(hwnd, FontOr(s.font)); }

LRESULT OnMouse(HWND hwnd, ListState& s, UINT msg, LPARAM lParam) {
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  RECT rc;
  GetClientRect(hwnd, &rc);
  if (s.thumbDrag) {
    if (msg == WM_MOUSEMOVE) ThumbDrag(hwnd, s, ToWindow(hwnd, p));
    if (msg == WM_LBUTTONUP) ReleaseCapture();
    return 0;
  }
  int at = PtInRect(&rc, p) ? ItemAt(s, p.y) : -1;
  if (s.combo) {
    // A combo box's list follows the pointer and reports the release.
    // (The always-shown list of the simple kind selects on press only.)
    bool hover = msg == WM_MOUSEMOVE && IsPopup(hwnd);
    if ((hover || msg == WM_LBUTTONDOWN) && at >= 0) Select(hwnd, s, at);
    if (msg == WM_LBUTTONUP) SendMessageA(s.combo, kComboListChose, static_cast<WPARAM>(at), 0);
    return 0;
  }
  switch (msg) {
    case WM_LBUTTONDOWN:
      if (GetFocus() != hwnd) SetFocus(hwnd);
      if (!States().Get(hwnd)) return 0;
      s.tracking = true;
      SetCapture(hwnd);
      if (at >= 0) UserSelect(hwnd, s, at);
      return 0;
    case WM_LBUTTONDBLCLK:
      if (at >= 0) {
        UserSelect(hwnd, s, at);
        if (States().Get(hwnd)) Notify(hwnd, LBN_DBLCLK);
      }
      return 0;
    case WM_MOUSEMOVE:
      if (!s.tracking) return 0;
      if (p.y < 0)
        UserSelect(hwnd, s, std::max(0, s.top - 1));
      else if (p.y >= rc.bottom)
        UserSelect(hwnd, s, s.top + Visible(hwnd, s));
      else if (at >= 0)
        UserSelect(hwnd, s, at);
      return 0;
    case WM_LBUTTONUP:
      if (s.tracking && GetCapture() == hwnd) ReleaseCapture();
      return 0;
    default:
      return 0;
  }
}

// The LB_ messages: the items and the selection as a program reads and sets them. nullopt: not one
// of them.
std::optional<LRESULT> ListMessage(HWND hwnd, ListState& s, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case LB_ADDSTRING: {
      const char* text = reinterpret_cast<const char*>(lParam);
      int at = (StyleOf(hwnd) & LBS_SORT) ? SortedPosition(s, text) : -1;
      return Insert(hwnd, s, at, text);
    }
    case LB_INSERTSTRING:
      if (static_cast<int>(wParam) != -1 && static_cast<std::size_t>(wParam) > s.items.size()) return LB_ERR;
      return Insert(hwnd, s, static_cast<int>(wParam), reinterpret_cast<const char*>(lParam));
    case LB_DELETESTRING: {
      if (!Valid(s, wParam)) return LB_ERR;
      int i = static_cast<int>(wParam);
      s.items.erase(s.items.begin() + i);
      if (s.cur == i)
        s.cur = -1;
      else if (s.cur > i)
        --s.cur;
      s.top = std::min(s.top, MaxTop(hwnd, s));
      RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
      return static_cast<LRESULT>(s.items.size());
    }
    case LB_RESETCONTENT:
      s.items.clear();
      s.cur = -1;
      s.top = 0;
      RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
      return 0;
    case LB_GETCOUNT:
      return static_cast<LRESULT>(s.items.size());
    case LB_GETCURSEL:
      return s.cur;
    case LB_SETCURSEL:
      Select(hwnd, s, Valid(s, wParam) ? static_cast<int>(wParam) : -1);
      return Valid(s, wParam) ? static_cast<LRESULT>(wParam) : LB_ERR;
    case LB_GETSEL:
      return Valid(s, wParam) ? static_cast<LRESULT>(static_cast<int>(wParam) == s.cur) : LB_ERR;
    case LB_GETTEXT:
      if (!Valid(s, wParam) || !lParam) return LB_ERR;
      std::strcpy(reinterpret_cast<char*>(lParam), s.items[wParam].text.c_str());
      return static_cast<LRESULT>(s.items[wParam].text.size());
    case LB_GETTEXTLEN:
      return Valid(s, wParam) ? static_cast<LRESULT>(s.items[wParam].text.size()) : LB_ERR;
    case LB_GETITEMDATA:
      return Valid(s, wParam) ? s.items[wParam].data : LB_ERR;
    case LB_SETITEMDATA:
      if (!Valid(s, wParam)) return LB_ERR;
      s.items[wParam].data = lParam;
      return LB_OKAY;
    case LB_GETTOPINDEX:
      return s.top;
    case LB_SETTOPINDEX:
      if (!Valid(s, wParam) && !(wParam == 0 && s.items.empty())) return LB_ERR;
      SetTop(hwnd, s, static_cast<int>(wParam));
      return LB_OKAY;
    case LB_GETITEMHEIGHT:
      return s.itemHeight;
    case LB_SETITEMHEIGHT:
      if (LOWORD(lParam) == 0 || LOWORD(lParam) > 255) return LB_ERR;
      s.itemHeight = LOWORD(lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return LB_OKAY;
    case LB_GETITEMRECT: {
      if (!Valid(s, wParam) || !lParam) return LB_ERR;
      RECT rc;
      GetClientRect(hwnd, &rc);
      int y = (static_cast<int>(wParam) - s.top) * s.itemHeight;
      *reinterpret_cast<RECT*>(lParam) = RECT{0, y, rc.right, y + s.itemHeight};
      return 1;
    }
    case LB_ITEMFROMPOINT: {
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      RECT rc;
      GetClientRect(hwnd, &rc);
      int n = static_cast<int>(s.items.size());
      int i = std::clamp(s.top + (p.y < 0 ? -1 : p.y / std::max(1, s.itemHeight)), 0, std::max(0, n - 1));
      bool outside = !PtInRect(&rc, p) || ItemAt(s, p.y) < 0;
      return MAKELONG(i, outside ? 1 : 0);
    }
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
      return Find(s, static_cast<int>(wParam), reinterpret_cast<const char*>(lParam),
                  msg == LB_FINDSTRINGEXACT);
    case LB_SELECTSTRING: {
      int i = Find(s, static_cast<int>(wParam), reinterpret_cast<const char*>(lParam), false);
      if (i >= 0) Select(hwnd, s, i);
      return i;
    }
    case LB_SETTABSTOPS: {
      // Stops come in dialog units; a quarter of the average character
      // width each, as dialogs measure horizontally.
      s.tabs.clear();
      const int* stops = reinterpret_cast<const int*>(lParam);
      int avg;
      {
        win32::WindowDc dc(hwnd, /*client=*/true);
        win32::SelectedObject fg(dc.get(), FontOr(s.font));
        TEXTMETRICA tm{};
        GetTextMetricsA(dc.get(), &tm);
        avg = std::max<int>(1, tm.tmAveCharWidth);
      }
      int n = static_cast<int>(wParam);
      if (n == 1 && stops) {
        for (int k = 1; k <= 32; ++k) s.tabs.push_back(k * stops[0] * avg / 4);
      } else {
        for (int k = 0; k < n && stops; ++k) s.tabs.push_back(stops[k] * avg / 4);
      }
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    }
    default:
      return std::nullopt;
  }
}

}  // namespace

// --- The window procedure.

LRESULT CALLBACK ListBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  ListState* s = States().Get(hwnd);
  // A fresh state at WM_NCCREATE, even if a handle value comes round again.
  if (!s || msg == WM_NCCREATE) {
    if (msg != WM_NCCREATE) return DefWindowProcA(hwnd, msg, wParam, lParam);
    s = States().Create(hwnd);
    char name[16] = {};
    GetClassNameA(hwnd, name, sizeof name);
    auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    if (strcasecmp(name, "ComboLBox") == 0 && cs) s->combo = static_cast<HWND>(cs->lpCreateParams);
    MeasureFont(hwnd, *s);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  switch (msg) {
    case WM_NCDESTROY:
      States().Erase(hwnd);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_CLOSE:
      // A combo box's list lives as long as its combo box: a close request aimed at the open list
      // (a window manager's, say) closes the list, as a click outside does, and destroys nothing.
      if (s->combo) {
        SendMessageA(s->combo, CB_SHOWDROPDOWN, FALSE, 0);
        return 0;
      }
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_SETFONT:
      s->font = reinterpret_cast<HFONT>(wParam);
      MeasureFont(hwnd, *s);
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(FontOr(s->font));
    case WM_SIZE:
      SetTop(hwnd, *s, s->top);
      return 0;
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint(hwnd, *s);
      return 0;
    case WM_NCPAINT:
      DefWindowProcA(hwnd, msg, wParam, lParam);
      PaintThumb(hwnd, *s);
      if (IsPopup(hwnd)) PaintPopupFrame(hwnd);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      s->focused = msg == WM_SETFOCUS;
      InvalidateRect(hwnd, nullptr, FALSE);
      Notify(hwnd, s->focused ? LBN_SETFOCUS : LBN_KILLFOCUS);
      return 0;
    case WM_KEYDOWN:
      OnKey(hwnd, *s, wParam);
      return 0;
    case WM_MOUSEWHEEL:
      SetTop(hwnd, *s, s->top - 3 * GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA);
      return 0;
    case WM_NCLBUTTONDOWN:
      if (wParam == HTVSCROLL) {
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        RECT win;
        GetWindowRect(hwnd, &win);
        BarClick(hwnd, *s, POINT{p.x - win.left, p.y - win.top});
        return 0;
      }
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      return OnMouse(hwnd, *s, msg, lParam);
    case WM_CAPTURECHANGED:
      s->tracking = s->thumbDrag = false;
      return 0;
    default:
      if (const std::optional<LRESULT> r = ListMessage(hwnd, *s, msg, wParam, lParam)) return *r;
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

}  // namespace platform::controls
