// Classic 3D edges (DrawEdge) and the non-client painter of DefWindowProcA:
// borders, dialog frames, caption bars and scroll-bar placeholders.
#include "platform/user/frame.h"

#include <algorithm>

#include "platform/gdi/dc_access.h"
#include "platform/user/window.h"

namespace platform::user {
namespace {

void Fill(HDC dc, int l, int t, int r, int b, COLORREF c) {
  if (r > l && b > t) gdi::FillSolid(dc, RECT{l, t, r, b}, c);
}

// One ring of an edge, one pixel wide. The top and left lines stop a pixel
// short so that the two far corners take the bottom-right colour, as in the
// classic look.
void Ring(HDC dc, const RECT& r, COLORREF tl, COLORREF br, UINT sides) {
  if (sides & BF_TOP) Fill(dc, r.left, r.top, r.right - 1, r.top + 1, tl);
  if (sides & BF_LEFT) Fill(dc, r.left, r.top, r.left + 1, r.bottom - 1, tl);
  if (sides & BF_BOTTOM) Fill(dc, r.left, r.bottom - 1, r.right, r.bottom, br);
  if (sides & BF_RIGHT) Fill(dc, r.right - 1, r.top, r.right, r.bottom, br);
}

void Shrink(RECT& r, UINT sides) {
  if (sides & BF_LEFT) ++r.left;
  if (sides & BF_TOP) ++r.top;
  if (sides & BF_RIGHT) --r.right;
  if (sides & BF_BOTTOM) --r.bottom;
}

void Arrow(HDC dc, const RECT& box, bool up, bool vertical, COLORREF c) {
  // A 7-pixel-wide filled triangle centred in the button.
  int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
  for (int i = 0; i < 4; ++i) {
    int half = up ? i : 3 - i;
    if (vertical)
      Fill(dc, cx - half, cy - 2 + i, cx + half + 1, cy - 1 + i, c);
    else
      Fill(dc, cx - 2 + i, cy - half, cx - 1 + i, cy + half + 1, c);
  }
}

void ScrollButton(HDC dc, RECT b, bool up, bool vertical) {
  DrawEdge(dc, &b, EDGE_RAISED, BF_RECT | BF_MIDDLE);
  Arrow(dc, b, up, vertical, GetSysColor(COLOR_BTNTEXT));
}

void PaintScrollBar(HDC dc, RECT bar, bool vertical) {
  Fill(dc, bar.left, bar.top, bar.right, bar.bottom, GetSysColor(COLOR_SCROLLBAR));
  int len = vertical ? bar.bottom - bar.top : bar.right - bar.left;
  int btn = std::min(kScrollBarSize, len / 2);
  if (vertical) {
    ScrollButton(dc, RECT{bar.left, bar.top, bar.right, bar.top + btn}, true, true);
    ScrollButton(dc, RECT{bar.left, bar.bottom - btn, bar.right, bar.bottom}, false, true);
  } else {
    ScrollButton(dc, RECT{bar.left, bar.top, bar.left + btn, bar.bottom}, true, false);
    ScrollButton(dc, RECT{bar.right - btn, bar.top, bar.right, bar.bottom}, false, false);
  }
}

}  // namespace

void PaintFrame(HWND hwnd, HDC dc) {
  Window* w = FromHandle(hwnd);
  if (!w || !dc) return;
  RECT r{0, 0, w->width(), w->height()};
  const bool child = w->isChild();
  if (child) {
    if (w->style & (WS_THICKFRAME | WS_DLGFRAME) || (w->exStyle & WS_EX_DLGMODALFRAME)) {
      int size = (w->style & WS_THICKFRAME) ? kFrameSize : kDlgFrameSize;
      DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
      COLORREF face = GetSysColor(COLOR_3DFACE);
      for (int i = 2; i < size; ++i) {
        Ring(dc, r, face, face, BF_RECT);
        Shrink(r, BF_RECT);
      }
    } else if (w->style & WS_BORDER) {
      COLORREF frame = GetSysColor(COLOR_WINDOWFRAME);
      Ring(dc, r, frame, frame, BF_RECT);
      Shrink(r, BF_RECT);
    }
    if ((w->style & WS_CAPTION) == WS_CAPTION) {
      bool active = desktop().active == TopLevelOf(hwnd);
      Fill(dc, r.left, r.top, r.right, r.top + kCaptionHeight - 1,
           GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
      Fill(dc, r.left, r.top + kCaptionHeight - 1, r.right, r.top + kCaptionHeight,
           GetSysColor(COLOR_3DFACE));
      RECT text{r.left + 4, r.top, r.right - 4, r.top + kCaptionHeight - 1};
      int oldMode = SetBkMode(dc, TRANSPARENT);
      COLORREF oldColor =
          SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
      DrawTextA(dc, w->text.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      SetTextColor(dc, oldColor);
      SetBkMode(dc, oldMode);
      r.top += kCaptionHeight;
    }
  }
  if (w->exStyle & WS_EX_CLIENTEDGE) DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  if (w->exStyle & WS_EX_STATICEDGE) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  const bool v = w->style & WS_VSCROLL, h = w->style & WS_HSCROLL;
  if (v)
    PaintScrollBar(dc, RECT{r.right - kScrollBarSize, r.top, r.right, r.bottom - (h ? kScrollBarSize : 0)},
                   true);
  if (h)
    PaintScrollBar(dc, RECT{r.left, r.bottom - kScrollBarSize, r.right - (v ? kScrollBarSize : 0), r.bottom},
                   false);
  if (v && h)
    Fill(dc, r.right - kScrollBarSize, r.bottom - kScrollBarSize, r.right, r.bottom,
         GetSysColor(COLOR_3DFACE));
}

}  // namespace platform::user

BOOL DrawEdge(HDC dc, LPRECT rect, UINT edge, UINT flags) {
  if (!dc || !rect) return FALSE;
  using namespace platform::user;
  RECT r = *rect;
  const UINT sides = flags & BF_RECT;
  COLORREF outerTL = 0, outerBR = 0, innerTL = 0, innerBR = 0, middle = GetSysColor(COLOR_3DFACE);
  if (flags & BF_MONO) {
    outerTL = outerBR = GetSysColor(COLOR_WINDOWFRAME);
    innerTL = innerBR = middle = GetSysColor(COLOR_WINDOW);
  } else if (flags & BF_FLAT) {
    outerTL = outerBR = GetSysColor(COLOR_3DSHADOW);
    innerTL = innerBR = middle = GetSysColor(COLOR_3DFACE);
  } else {
    if (edge & BDR_RAISEDOUTER)
      outerTL = GetSysColor(COLOR_3DLIGHT), outerBR = GetSysColor(COLOR_3DDKSHADOW);
    else
      outerTL = GetSysColor(COLOR_3DSHADOW), outerBR = GetSysColor(COLOR_3DHIGHLIGHT);
    if (edge & BDR_RAISEDINNER)
      innerTL = GetSysColor(COLOR_3DHIGHLIGHT), innerBR = GetSysColor(COLOR_3DSHADOW);
    else
      innerTL = GetSysColor(COLOR_3DDKSHADOW), innerBR = GetSysColor(COLOR_3DLIGHT);
  }
  if (edge & BDR_OUTER) {
    Ring(dc, r, outerTL, outerBR, sides);
    Shrink(r, sides);
  }
  if (edge & BDR_INNER) {
    Ring(dc, r, innerTL, innerBR, sides);
    Shrink(r, sides);
  }
  if (flags & BF_MIDDLE) Fill(dc, r.left, r.top, r.right, r.bottom, middle);
  if (flags & BF_ADJUST) *rect = r;
  return TRUE;
}
