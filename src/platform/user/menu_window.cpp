// The "#32768" window: a popup menu on screen, in the classic look. A raised
// 3D box; items in rows, the text after the check-mark column and the
// accelerators (the text after a tab) right-aligned in a column of their
// own; the selection in the highlight colours; grayed items etched; etched
// lines between groups.
//
// Sections: layout · painting · the window procedure · creation and queries
#include <algorithm>
#include <unordered_map>

#include "platform/controls/control_util.h"
#include "platform/user/menu.h"

namespace platform::user {
namespace {

using controls::DrawDisabledText;
using controls::FillSolid;

constexpr const char* kClassName = "#32768";
constexpr int kEdge = 3;             // the 2-pixel raised edge and a pixel of margin
constexpr int kCheckColumn = 18;     // left of the text: where a check mark goes
constexpr int kArrowColumn = 16;     // right of the accelerators, as menus with submenus keep
constexpr int kAccelGap = 24;        // between the widest text and the accelerator column
constexpr int kSeparatorHeight = 9;  // an etched line in the middle
constexpr int kItemPadding = 6;      // an item's height over its text's
constexpr UINT kTextFormat = DT_SINGLELINE | DT_VCENTER;

// --- layout -------------------------------------------------------------------

struct Layout {
  std::vector<RECT> rows;  // one per item, client coordinates
  SIZE size{0, 0};
};

struct MenuWindowState {
  HMENU menu = nullptr;
  HFONT font = nullptr;
  Layout layout;
};

std::unordered_map<HWND, MenuWindowState>& states() {
  static std::unordered_map<HWND, MenuWindowState> s;
  return s;
}

MenuWindowState* StateOf(HWND hwnd) {
  auto it = states().find(hwnd);
  return it == states().end() ? nullptr : &it->second;
}

// The label and the accelerator: the text before and after the first tab.
std::pair<std::string, std::string> SplitText(const std::string& text) {
  std::size_t tab = text.find('\t');
  if (tab == std::string::npos) return {text, {}};
  return {text.substr(0, tab), text.substr(tab + 1)};
}

int TextWidth(HDC dc, const std::string& s) {
  if (s.empty()) return 0;
  RECT r{0, 0, 0, 0};
  DrawTextA(dc, s.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
  return r.right - r.left;
}

// The font of menus: the 9-point Song face, as the system's menus use.
HFONT CreateMenuFont() {
  return CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "宋体");
}

Layout Measure(const Menu& menu, HFONT font) {
  Layout out;
  win32::OwnedDc memDc(CreateCompatibleDC(nullptr));
  HDC dc = memDc.get();
  if (!dc) return out;
  int labelW = 0, accelW = 0, textH = 0;
  {
    win32::SelectedObject fg(dc, font);
    textH = controls::LineHeight(dc);
    for (const MenuItem& item : menu.items) {
      if (item.flags & MF_SEPARATOR) continue;
      auto [label, accel] = SplitText(item.text);
      labelW = std::max(labelW, TextWidth(dc, label));
      accelW = std::max(accelW, TextWidth(dc, accel));
    }
  }
  const int width = 2 * kEdge + kCheckColumn + labelW + (accelW ? kAccelGap + accelW : 0) + kArrowColumn;
  int y = kEdge;
  for (const MenuItem& item : menu.items) {
    int h = (item.flags & MF_SEPARATOR) ? kSeparatorHeight : textH + kItemPadding;
    out.rows.push_back(RECT{kEdge, y, width - kEdge, y + h});
    y += h;
  }
  out.size = SIZE{width, y + kEdge};
  return out;
}

// --- painting -----------------------------------------------------------------

// The classic check mark: a 7-pixel tick three pixels thick.
void DrawCheckMark(HDC dc, const RECT& row, COLORREF c) {
  int x = row.left + (kCheckColumn - 7) / 2, y = (row.top + row.bottom) / 2 - 3;
  for (int dy = 0; dy < 3; ++dy) {
    for (int i = 0; i < 3; ++i) SetPixel(dc, x + i, y + 2 + i + dy, c);
    for (int i = 0; i < 4; ++i) SetPixel(dc, x + 3 + i, y + 3 - i + dy, c);
  }
}

void PaintItem(HDC dc, const MenuItem& item, const RECT& row, bool selected) {
  if (item.flags & MF_SEPARATOR) {
    // Etched: a shadow line over a highlight line.
    const int y = (row.top + row.bottom) / 2 - 1;
    FillSolid(dc, RECT{row.left + 1, y, row.right - 1, y + 1}, GetSysColor(COLOR_3DSHADOW));
    FillSolid(dc, RECT{row.left + 1, y + 1, row.right - 1, y + 2}, GetSysColor(COLOR_3DHIGHLIGHT));
    return;
  }
  const bool grayed = (item.flags & MF_GRAYED) != 0;
  if (selected) FillSolid(dc, row, GetSysColor(COLOR_HIGHLIGHT));
  COLORREF ink = GetSysColor(selected ? (grayed ? COLOR_GRAYTEXT : COLOR_HIGHLIGHTTEXT) : COLOR_MENUTEXT);
  auto [label, accel] = SplitText(item.text);
  RECT text{row.left + kCheckColumn, row.top, row.right - kArrowColumn, row.bottom};
  if (item.flags & MF_CHECKED) DrawCheckMark(dc, row, ink);
  if (grayed && !selected) {
    // Etched, as grayed text on the menu's face always is.
    DrawDisabledText(dc, label.c_str(), text, kTextFormat | DT_LEFT);
    if (!accel.empty()) DrawDisabledText(dc, accel.c_str(), text, kTextFormat | DT_RIGHT);
    return;
  }
  SetTextColor(dc, ink);
  DrawTextA(dc, label.c_str(), -1, &text, kTextFormat | DT_LEFT);
  if (!accel.empty()) DrawTextA(dc, accel.c_str(), -1, &text, kTextFormat | DT_RIGHT);
}

void Paint(HWND hwnd, const MenuWindowState& s) {
  win32::PaintDc pg(hwnd);
  HDC dc = pg.get();
  RECT rc;
  GetClientRect(hwnd, &rc);
  FillSolid(dc, rc, GetSysColor(COLOR_MENU));
  DrawEdge(dc, &rc, EDGE_RAISED, BF_RECT);
  auto menu = MenuFromHandle(s.menu);
  if (!menu) return;
  win32::SelectedObject fg(dc, s.font);
  SetBkMode(dc, TRANSPARENT);
  std::size_t n = std::min(menu->items.size(), s.layout.rows.size());
  for (std::size_t i = 0; i < n; ++i)
    PaintItem(dc, menu->items[i], s.layout.rows[i], static_cast<int>(i) == menu->selected);
}

// --- the window procedure -------------------------------------------------------

LRESULT CALLBACK MenuWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  MenuWindowState* s = StateOf(hwnd);
  switch (msg) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      MenuWindowState& st = states()[hwnd];
      st.menu = cs ? static_cast<HMENU>(cs->lpCreateParams) : nullptr;
      st.font = CreateMenuFont();
      break;
    }
    case WM_NCDESTROY:
      if (s) {
        if (auto menu = MenuFromHandle(s->menu); menu && menu->window == hwnd) menu->window = nullptr;
        if (s->font) DeleteObject(s->font);
        states().erase(hwnd);
      }
      break;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case MN_GETHMENU:
      return s ? reinterpret_cast<LRESULT>(s->menu) : 0;
    case WM_ERASEBKGND:
      return 1;  // the paint covers every pixel
    case WM_PAINT:
      if (!s) break;
      Paint(hwnd, *s);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void RegisterMenuClass() {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_SAVEBITS | CS_DBLCLKS | CS_GLOBALCLASS;
  wc.lpfnWndProc = MenuWindowProc;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  RegisterClassExA(&wc);  // refused harmlessly once it exists
}

}  // namespace

// --- creation and queries ---------------------------------------------------------

HWND CreateMenuWindow(HMENU hmenu, HWND owner) {
  auto menu = MenuFromHandle(hmenu);
  if (!menu) return nullptr;
  RegisterMenuClass();
  HWND hwnd = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClassName, "", WS_POPUP, 0, 0, 1, 1, owner,
                              nullptr, nullptr, hmenu);
  MenuWindowState* s = hwnd ? StateOf(hwnd) : nullptr;
  if (!s) return nullptr;
  s->layout = Measure(*menu, s->font);
  SetWindowPos(hwnd, nullptr, 0, 0, s->layout.size.cx, s->layout.size.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  menu->window = hwnd;
  return hwnd;
}

int MenuItemAt(HWND hwnd, POINT screen) {
  MenuWindowState* s = StateOf(hwnd);
  RECT wr;
  if (!s || !GetWindowRect(hwnd, &wr) || !PtInRect(&wr, screen)) return -1;
  POINT p{screen.x - wr.left, screen.y - wr.top};
  for (std::size_t i = 0; i < s->layout.rows.size(); ++i)
    if (PtInRect(&s->layout.rows[i], p)) return static_cast<int>(i);
  return -2;
}

void InvalidateMenuItem(HWND hwnd, int index) {
  MenuWindowState* s = StateOf(hwnd);
  if (!s || index < 0 || static_cast<std::size_t>(index) >= s->layout.rows.size()) return;
  InvalidateRect(hwnd, &s->layout.rows[static_cast<std::size_t>(index)], FALSE);
}

}  // namespace platform::user

using namespace platform::user;

BOOL GetMenuItemRect(HWND, HMENU hmenu, UINT pos, LPRECT rect) {
  auto menu = MenuFromHandle(hmenu);
  MenuWindowState* s = menu && menu->window ? StateOf(menu->window) : nullptr;
  RECT wr;
  if (!s || !rect || pos >= s->layout.rows.size() || !GetWindowRect(menu->window, &wr)) return FALSE;
  *rect = s->layout.rows[pos];
  OffsetRect(rect, wr.left, wr.top);
  return TRUE;
}
