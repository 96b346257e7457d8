// "SysHeader32": a row of column titles over a list, each a flat button
// whose click is reported with WM_NOTIFY/HDN_ITEMCLICKA.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/controls/control_util.h"

namespace platform::controls {
namespace {

struct Column {
  std::string text;
  int width = 0;
  int fmt = HDF_LEFT | HDF_STRING;
  LPARAM lParam = 0;
};

struct HeaderState {
  std::vector<Column> items;
  HFONT font = nullptr;
  int pressed = -1;  // item under a held left button
  bool inside = false;
};

StateMap<HeaderState>& States() {
  static StateMap<HeaderState> m;
  return m;
}

RECT ItemRect(HWND hwnd, const HeaderState& s, int i) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  int left = 0;
  for (int k = 0; k < i; ++k) left += std::max(0, s.items[static_cast<std::size_t>(k)].width);
  return RECT{left, 0, left + std::max(0, s.items[static_cast<std::size_t>(i)].width), rc.bottom};
}

int ItemAt(HWND hwnd, const HeaderState& s, POINT p) {
  for (int i = 0; i < static_cast<int>(s.items.size()); ++i) {
    RECT r = ItemRect(hwnd, s, i);
    if (PtInRect(&r, p)) return i;
  }
  return -1;
}

void Apply(Column& c, const HDITEMA& in) {
  if ((in.mask & HDI_TEXT) && in.pszText) c.text = SanitizeUtf8(in.pszText);
  if (in.mask & HDI_WIDTH) c.width = std::max(0, in.cxy);
  if (in.mask & HDI_FORMAT) c.fmt = in.fmt;
  if (in.mask & HDI_LPARAM) c.lParam = in.lParam;
}

void Paint(HWND hwnd, const HeaderState& s) {
  win32::PaintDc pg(hwnd);
  HDC dc = pg.get();
  RECT rc;
  GetClientRect(hwnd, &rc);
  FillSolid(dc, rc, GetSysColor(COLOR_3DFACE));
  win32::SelectedObject fg(dc, FontOr(s.font));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(IsWindowEnabled(hwnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  int right = 0;
  for (int i = 0; i < static_cast<int>(s.items.size()); ++i) {
    RECT r = ItemRect(hwnd, s, i);
    right = r.right;
    if (r.right <= r.left) continue;
    const bool down = i == s.pressed && s.inside;
    RECT edge = r;
    if (down)
      FrameRect(dc, &edge, GetSysColorBrush(COLOR_3DSHADOW));
    else
      DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
    RECT t{r.left + 6, r.top, r.right - 6, r.bottom};
    if (down) OffsetRect(&t, 1, 1);
    const Column& c = s.items[static_cast<std::size_t>(i)];
    UINT just = (c.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT    ? DT_RIGHT
                : (c.fmt & HDF_JUSTIFYMASK) == HDF_CENTER ? DT_CENTER
                                                          : DT_LEFT;
    DrawTextA(dc, c.text.c_str(), -1, &t, just | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  if (right < rc.right) {
    RECT rest{right, 0, rc.right, rc.bottom};
    DrawEdge(dc, &rest, BDR_RAISEDINNER, BF_RECT);
  }
}

void NotifyClick(HWND hwnd, int item) {
  HWND parent = GetParent(hwnd);
  if (!parent) return;
  NMHEADERA nm{};
  nm.hdr.hwndFrom = hwnd;
  nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(hwnd));
  nm.hdr.code = HDN_ITEMCLICKA;
  nm.iItem = item;
  nm.iButton = 0;  // left
  SendMessageA(parent, WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

POINT PointOf(LPARAM l) { return POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)}; }

}  // namespace

LRESULT CALLBACK HeaderProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  HeaderState* s = States().Get(hwnd);
  // A fresh state at WM_NCCREATE, even if a handle value comes round again.
  if (!s || msg == WM_NCCREATE) {
    if (msg != WM_NCCREATE) return DefWindowProcA(hwnd, msg, wParam, lParam);
    s = States().Create(hwnd);
  }
  const int count = static_cast<int>(s->items.size());
  const bool valid = static_cast<int>(wParam) >= 0 && static_cast<int>(wParam) < count;
  switch (msg) {
    case WM_NCDESTROY:
      States().Erase(hwnd);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_SETFONT:
      s->font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(FontOr(s->font));
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint(hwnd, *s);
      return 0;
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      s->pressed = ItemAt(hwnd, *s, PointOf(lParam));
      s->inside = s->pressed >= 0;
      if (s->pressed >= 0) {
        SetCapture(hwnd);
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      return 0;
    case WM_MOUSEMOVE:
      if (s->pressed >= 0) {
        RECT r = ItemRect(hwnd, *s, s->pressed);
        bool in = PtInRect(&r, PointOf(lParam));
        if (in != s->inside) {
          s->inside = in;
          InvalidateRect(hwnd, nullptr, FALSE);
        }
      }
      return 0;
    case WM_LBUTTONUP: {
      int item = s->pressed;
      if (item < 0) return 0;
      RECT r = ItemRect(hwnd, *s, item);
      bool in = PtInRect(&r, PointOf(lParam));
      s->pressed = -1;
      s->inside = false;
      InvalidateRect(hwnd, nullptr, FALSE);
      if (GetCapture() == hwnd) ReleaseCapture();
      if (in && IsWindow(hwnd)) NotifyClick(hwnd, item);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (s->pressed >= 0) {
        s->pressed = -1;
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      return 0;
    case HDM_GETITEMCOUNT:
      return count;
    case HDM_INSERTITEMA: {
      auto* in = reinterpret_cast<const HDITEMA*>(lParam);
      if (!in || static_cast<int>(wParam) < 0) return -1;
      int at = std::min(static_cast<int>(wParam), count);
      Column c;
      Apply(c, *in);
      s->items.insert(s->items.begin() + at, std::move(c));
      InvalidateRect(hwnd, nullptr, TRUE);
      return at;
    }
    case HDM_DELETEITEM:
      if (!valid) return FALSE;
      s->items.erase(s->items.begin() + static_cast<int>(wParam));
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    case HDM_GETITEMA: {
      auto* out = reinterpret_cast<HDITEMA*>(lParam);
      if (!valid || !out) return FALSE;
      const Column& c = s->items[wParam];
      if ((out->mask & HDI_TEXT) && out->pszText && out->cchTextMax > 0) {
        std::size_t n = std::min<std::size_t>(c.text.size(), static_cast<std::size_t>(out->cchTextMax - 1));
        std::memcpy(out->pszText, c.text.data(), n);
        out->pszText[n] = '\0';
      }
      if (out->mask & HDI_WIDTH) out->cxy = c.width;
      if (out->mask & HDI_FORMAT) out->fmt = c.fmt;
      if (out->mask & HDI_LPARAM) out->lParam = c.lParam;
      return TRUE;
    }
    case HDM_SETITEMA: {
      auto* in = reinterpret_cast<const HDITEMA*>(lParam);
      if (!valid || !in) return FALSE;
      Apply(s->items[wParam], *in);
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    }
    case HDM_GETITEMRECT:
      if (!valid || !lParam) return FALSE;
      *reinterpret_cast<RECT*>(lParam) = ItemRect(hwnd, *s, static_cast<int>(wParam));
      return TRUE;
    case HDM_LAYOUT: {
      auto* layout = reinterpret_cast<HDLAYOUT*>(lParam);
      if (!layout || !layout->prc || !layout->pwpos) return FALSE;
      const int height = FontLineHeight(hwnd, FontOr(s->font)) + 6;
      RECT* r = layout->prc;
      *layout->pwpos = WINDOWPOS{hwnd,
                                 nullptr,
                                 static_cast<int>(r->left),
                                 static_cast<int>(r->top),
                                 static_cast<int>(r->right - r->left),
                                 height,
                                 0};
      r->top += height;
      return TRUE;
    }
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

}  // namespace platform::controls
