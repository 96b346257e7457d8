// The swatch grid: sunken colour cells, a black frame round the selected
// one and a focus rectangle when it has the keyboard.
#include "platform/dialogs/swatch_grid.h"

#include <algorithm>
#include <unordered_map>

#include "platform/dialogs/dialog_window.h"
#include "platform/user/notify.h"

namespace platform::dialogs {
namespace {

struct Grid {
  int columns = 1, rows = 1;
  const COLORREF* colours = nullptr;
  int sel = -1;
  bool focused = false;
};

std::unordered_map<HWND, Grid>& Grids() {
  static std::unordered_map<HWND, Grid> m;
  return m;
}

RECT CellRect(HWND hwnd, const Grid& g, int index) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  const int cw = (rc.right - rc.left) / g.columns, ch = (rc.bottom - rc.top) / g.rows;
  const int col = index % g.columns, row = index / g.columns;
  return RECT{col * cw, row * ch, (col + 1) * cw, (row + 1) * ch};
}

int CellAt(HWND hwnd, const Grid& g, POINT p) {
  for (int i = 0; i < g.columns * g.rows; ++i) {
    RECT r = CellRect(hwnd, g, i);
    if (PtInRect(&r, p)) return i;
  }
  return -1;
}

void Paint(HWND hwnd, const Grid& g) {
  win32::PaintDc paint(hwnd);
  HDC dc = paint.get();
  if (!dc) return;
  RECT rc;
  GetClientRect(hwnd, &rc);
  FillRect(dc, &rc, GetSysColorBrush(COLOR_3DFACE));
  for (int i = 0; g.colours && i < g.columns * g.rows; ++i) {
    RECT cell = CellRect(hwnd, g, i);
    RECT swatch = cell;
    InflateRect(&swatch, -3, -3);
    if (i == g.sel) {
      RECT frame = cell;
      InflateRect(&frame, -1, -1);
      FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      if (g.focused) {
        InflateRect(&frame, 1, 1);
        DrawFocusRect(dc, &frame);
      }
    }
    DrawEdge(dc, &swatch, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    win32::GdiObject<HGDIOBJ> brush(CreateSolidBrush(g.colours[i]));
    FillRect(dc, &swatch, static_cast<HBRUSH>(brush.get()));
  }
}

void Select(HWND hwnd, Grid& g, int index, bool notify) {
  if (index == g.sel) return;
  g.sel = index;
  InvalidateRect(hwnd, nullptr, FALSE);
  if (notify && index >= 0) platform::user::NotifyParent(hwnd, SGN_SELCHANGE);
}

LRESULT CALLBACK SwatchGridProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) Grids()[hwnd] = Grid{};
  auto it = Grids().find(hwnd);
  if (it == Grids().end()) return DefWindowProcA(hwnd, msg, wParam, lParam);
  Grid& g = it->second;
  const int count = g.columns * g.rows;
  switch (msg) {
    case WM_NCDESTROY:
      Grids().erase(it);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint(hwnd, g);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      g.focused = msg == WM_SETFOCUS;
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      SetFocus(hwnd);
      auto again = Grids().find(hwnd);
      if (again == Grids().end()) return 0;
      int cell = CellAt(hwnd, again->second, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      if (cell >= 0) Select(hwnd, again->second, cell, true);
      return 0;
    }
    case WM_KEYDOWN: {
      int at = g.sel < 0 ? 0 : g.sel, next = at;
      switch (wParam) {
        case VK_LEFT:
          next = at % g.columns ? at - 1 : at;
          break;
        case VK_RIGHT:
          next = at % g.columns < g.columns - 1 ? at + 1 : at;
          break;
        case VK_UP:
          next = at >= g.columns ? at - g.columns : at;
          break;
        case VK_DOWN:
          next = at + g.columns < count ? at + g.columns : at;
          break;
        default:
          return DefWindowProcA(hwnd, msg, wParam, lParam);
      }
      Select(hwnd, g, next, g.sel != next || g.sel < 0);
      return 0;
    }
    case SGM_SETCOLORS:
      g.columns = std::max(1, static_cast<int>(LOWORD(wParam)));
      g.rows = std::max(1, static_cast<int>(HIWORD(wParam)));
      g.colours = reinterpret_cast<const COLORREF*>(lParam);
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case SGM_SETSEL:
      Select(
          hwnd, g,
          static_cast<int>(wParam) >= 0 && static_cast<int>(wParam) < count ? static_cast<int>(wParam) : -1,
          false);
      return 0;
    case SGM_GETSEL:
      return g.sel;
    case SGM_GETCELLRECT: {
      int index = static_cast<int>(wParam);
      if (index < 0 || index >= count || !lParam) return FALSE;
      *reinterpret_cast<RECT*>(lParam) = CellRect(hwnd, g, index);
      return TRUE;
    }
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

void RegisterSwatchGrid() {
  WNDCLASSEXA existing{};
  if (GetClassInfoExA(nullptr, kSwatchGridClass, &existing)) return;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS | CS_GLOBALCLASS;
  wc.lpfnWndProc = SwatchGridProc;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kSwatchGridClass;
  RegisterClassExA(&wc);
}

}  // namespace platform::dialogs
