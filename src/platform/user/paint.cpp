// Update regions, WM_PAINT delivery and window device contexts.
//
// Every window draws into the surface (PixelBuffer) of its top-level window.
// A DC of a window is a surface DC whose visible region is what of the
// window shows: clipped to each ancestor's client area and window region,
// to the window's own region, minus siblings in front where the window (or
// an ancestor) has WS_CLIPSIBLINGS, and, for client DCs of a
// WS_CLIPCHILDREN window, minus its children.
//
// Sections: visible regions · DCs · invalidation · paint delivery
#include <algorithm>
#include <map>

#include "platform/gdi/gdi_objects.h"
#include "platform/gdi/surface_dc.h"
#include "platform/user/paint.h"
#include "platform/user/queue.h"
#include "platform/user/window.h"

namespace platform::user {

using gdi::Region;

// --- visible regions --------------------------------------------------------

namespace {

// The window's shape (rectangle and window region) in surface coordinates.
Region ShapeInSurface(const Window& w) {
  POINT o = WindowOriginInSurface(w);
  Region r(RECT{o.x, o.y, o.x + w.width(), o.y + w.height()});
  if (w.hasWindowRgn) {
    Region shaped = w.windowRgn;
    shaped.Offset(o.x, o.y);
    r = r.Intersect(shaped);
  }
  return r;
}

std::shared_ptr<gdi::PixelBuffer> SurfaceOf(const Window& w) {
  Window* top = FromHandle(TopLevelOf(w.hwnd));
  return top ? top->surface : nullptr;
}

}  // namespace

Region VisibleRegion(const Window& w, bool clientOnly, bool clipChildren) {
  if (!IsVisibleOnScreen(w)) return Region();
  POINT o = WindowOriginInSurface(w);
  Region r = ShapeInSurface(w);
  if (clientOnly)
    r = r.Intersect(
        Region(RECT{o.x + w.client.left, o.y + w.client.top, o.x + w.client.right, o.y + w.client.bottom}));
  const Window* cur = &w;
  while (cur->isChild()) {
    const Window* p = FromHandle(cur->parent);
    if (!p) return Region();
    if (cur->style & WS_CLIPSIBLINGS) {
      for (HWND s : p->children) {
        if (s == cur->hwnd) break;  // the rest are behind
        const Window* sw = FromHandle(s);
        if (sw && sw->visible()) r = r.Subtract(ShapeInSurface(*sw));
      }
    }
    POINT po = WindowOriginInSurface(*p);
    r = r.Intersect(Region(
        RECT{po.x + p->client.left, po.y + p->client.top, po.x + p->client.right, po.y + p->client.bottom}));
    if (p->hasWindowRgn) r = r.Intersect(ShapeInSurface(*p));
    cur = p;
  }
  if (clientOnly && clipChildren) {
    for (HWND c : w.children) {
      const Window* cw = FromHandle(c);
      if (cw && cw->visible()) r = r.Subtract(ShapeInSurface(*cw));
    }
  }
  return r;
}

// --- DCs --------------------------------------------------------------------

namespace {

std::map<HDC, HWND>& dcOwners() {
  static std::map<HDC, HWND> m;
  return m;
}

std::shared_ptr<gdi::PixelBuffer> ScreenBuffer() {
  // GetDC(NULL): the desktop has no pixels of its own here; drawing on it
  // lands in a scratch buffer nobody shows.
  static auto buf = std::make_shared<gdi::PixelBuffer>(1, 1);
  return buf;
}

}  // namespace

HDC MakeWindowDC(HWND hwnd, bool window, bool clipChildren, bool clipSiblings, const Region* extraClip) {
  if (!hwnd) {
    HDC dc = gdi::CreateSurfaceDC(ScreenBuffer(), POINT{0, 0}, Region(RECT{0, 0, 1, 1}));
    if (dc) dcOwners()[dc] = nullptr;
    return dc;
  }
  Window* w = FromHandle(hwnd);
  if (!w) return nullptr;
  auto surface = SurfaceOf(*w);
  if (!surface) return nullptr;
  Region vis = VisibleRegion(*w, !window, clipChildren);
  if (!clipSiblings) {
    // Only GetDCEx asks for this; redo without the sibling cut.
    DWORD saved = w->style;
    w->style &= ~WS_CLIPSIBLINGS;
    vis = VisibleRegion(*w, !window, clipChildren);
    w->style = saved;
  }
  POINT o = WindowOriginInSurface(*w);
  if (!window) o = POINT{o.x + w->client.left, o.y + w->client.top};
  if (extraClip) {
    Region e = *extraClip;
    e.Offset(o.x, o.y);
    vis = vis.Intersect(e);
  }
  HDC dc = gdi::CreateSurfaceDC(surface, o, vis);
  if (dc) dcOwners()[dc] = hwnd;
  return dc;
}

void ForgetDCsOf(HWND hwnd) {
  // DCs stay valid (they hold the surface) but no longer name the window.
  for (auto& [dc, owner] : dcOwners())
    if (owner == hwnd) owner = nullptr;
}

std::size_t OutstandingDCs() { return dcOwners().size(); }

// --- invalidation -----------------------------------------------------------

namespace {

bool NeedsPaint(const Window& w) { return !w.update.IsEmpty() || w.internalPaint || w.framePending; }

// area: window coordinates of w.
void RedrawArea(Window& w, const Region& area, UINT flags) {
  RECT clientR = w.client;
  Region client(clientR);
  Region inClient = area.Intersect(client);
  // A window without a non-client area still hears WM_NCPAINT when its
  // frame is invalidated, as in Win32.
  bool noFrame =
      clientR.left == 0 && clientR.top == 0 && clientR.right == w.width() && clientR.bottom == w.height();
  bool touchesFrame = !area.Subtract(client).IsEmpty() || (noFrame && !area.IsEmpty());
  if (flags & RDW_INVALIDATE) {
    w.update = w.update.Union(inClient);
    if ((flags & RDW_ERASE) && !inClient.IsEmpty()) w.erasePending = true;
    if ((flags & RDW_FRAME) && touchesFrame) w.framePending = true;
  }
  if (flags & RDW_VALIDATE) {
    w.update = w.update.Subtract(inClient);
    if (w.update.IsEmpty()) w.erasePending = false;
    if ((flags & RDW_NOFRAME) && touchesFrame) w.framePending = false;
  }
  if (flags & RDW_INTERNALPAINT) w.internalPaint = true;
  if (flags & RDW_NOINTERNALPAINT) w.internalPaint = false;
  if (flags & RDW_NOERASE) w.erasePending = false;

  bool children = (flags & RDW_ALLCHILDREN) || (!(flags & RDW_NOCHILDREN) && !(w.style & WS_CLIPCHILDREN));
  if (!children) return;
  UINT childFlags = flags & ~(RDW_UPDATENOW | RDW_ERASENOW | RDW_INTERNALPAINT);
  if (flags & RDW_ALLCHILDREN) childFlags |= flags & RDW_INTERNALPAINT;
  // A child's frame inside the area is overdrawn along with it.
  if (flags & RDW_INVALIDATE) childFlags |= RDW_FRAME;
  for (HWND c : w.children) {
    Window* cw = FromHandle(c);
    if (!cw || !cw->visible()) continue;
    Region sub = area.Intersect(Region(RECT{w.client.left + cw->rect.left, w.client.top + cw->rect.top,
                                            w.client.left + cw->rect.right, w.client.top + cw->rect.bottom}));
    if (sub.IsEmpty() && !(childFlags & RDW_INTERNALPAINT)) continue;
    sub.Offset(-(w.client.left + cw->rect.left), -(w.client.top + cw->rect.top));
    RedrawArea(*cw, sub, childFlags);
  }
}

void UpdateNow(HWND hwnd, bool children) {
  Window* w = FromHandle(hwnd);
  if (!w || !IsVisibleOnScreen(*w)) return;
  if (NeedsPaint(*w)) {
    w->internalPaint = false;
    PrepareForPaint(hwnd);
    if (IsWindow(hwnd)) SendMessageA(hwnd, WM_PAINT, 0, 0);
  }
  if (!children || !(w = FromHandle(hwnd))) return;
  std::vector<HWND> kids = w->children;
  // Back to front, so that windows in front paint last.
  for (auto it = kids.rbegin(); it != kids.rend(); ++it) UpdateNow(*it, true);
}

Region AreaFromArgs(const Window& w, const RECT* rect, HRGN rgn) {
  // rect and rgn are client coordinates; the result is window coordinates.
  Region a;
  if (rgn) {
    if (auto* ro = gdi::LookupRegion(rgn)) a = ro->region;
  } else if (rect) {
    a = Region(*rect);
  } else {
    a = Region(RECT{0, 0, w.client.right - w.client.left, w.client.bottom - w.client.top});
  }
  a.Offset(w.client.left, w.client.top);
  return a;
}

}  // namespace

void InvalidateWindowAll(Window& w, bool erase, bool frame) {
  RedrawArea(w, Region(RECT{0, 0, w.width(), w.height()}),
             RDW_INVALIDATE | RDW_ALLCHILDREN | (erase ? RDW_ERASE : 0) | (frame ? RDW_FRAME : 0));
}

void OnTopLevelResized(Window& w) {
  w.surface = gdi::PixelBuffer::ForScreen(w.width(), w.height(), 0xFFFFFF);
  w.surface->Touch(0, 0, w.width(), w.height());
}

// --- paint delivery ---------------------------------------------------------

HWND FindWindowToPaint(HWND filter) {
  std::vector<HWND> roots = filter ? std::vector<HWND>{filter} : desktop().topLevels;
  for (HWND r : roots) {
    Window* rw = FromHandle(r);
    if (!rw || !IsVisibleOnScreen(*rw)) continue;
    if (NeedsPaint(*rw)) return r;
    // Parents before children, so that children paint over their parent.
    for (HWND d : Descendants(r)) {
      Window* dw = FromHandle(d);
      if (dw && NeedsPaint(*dw) && IsVisibleOnScreen(*dw)) return d;
    }
  }
  return nullptr;
}

void PrepareForPaint(HWND hwnd) {
  Window* w = FromHandle(hwnd);
  if (!w) return;
  if (w->framePending) {
    w->framePending = false;
    SendMessageA(hwnd, WM_NCPAINT, 1, 0);
    if (!(w = FromHandle(hwnd))) return;
  }
  if (w->erasePending && !w->update.IsEmpty()) {
    w->erasePending = false;
    Region clip = w->update;
    clip.Offset(-w->client.left, -w->client.top);
    HDC dc = MakeWindowDC(hwnd, false, (w->style & WS_CLIPCHILDREN) != 0, true, &clip);
    LRESULT erased = SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ReleaseDC(hwnd, dc);
    // Remember a refused erase for BeginPaint's fErase.
    if (Window* again = FromHandle(hwnd); again && !erased) again->eraseRefused = true;
  }
}

}  // namespace platform::user

using namespace platform::user;

HDC GetDC(HWND hwnd) {
  Window* w = hwnd ? FromHandle(hwnd) : nullptr;
  if (hwnd && !w) return nullptr;
  return MakeWindowDC(hwnd, false, w && (w->style & WS_CLIPCHILDREN), true, nullptr);
}

HDC GetWindowDC(HWND hwnd) {
  if (hwnd && !FromHandle(hwnd)) return nullptr;
  // A window DC is never clipped by the window's own children.
  return MakeWindowDC(hwnd, true, false, true, nullptr);
}

HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags) {
  Window* w = hwnd ? FromHandle(hwnd) : nullptr;
  if (hwnd && !w) return nullptr;
  std::optional<platform::gdi::Region> extra;
  if ((flags & DCX_INTERSECTRGN) && clip)
    if (auto* ro = platform::gdi::LookupRegion(clip)) extra = ro->region;
  bool clipChildren =
      (flags & DCX_CLIPCHILDREN) || (w && (w->style & WS_CLIPCHILDREN) && !(flags & DCX_WINDOW));
  bool clipSiblings = (flags & DCX_CLIPSIBLINGS) || (w && (w->style & WS_CLIPSIBLINGS));
  return MakeWindowDC(hwnd, flags & DCX_WINDOW, clipChildren, clipSiblings, extra ? &*extra : nullptr);
}

int ReleaseDC(HWND, HDC dc) {
  auto& owners = dcOwners();
  auto it = owners.find(dc);
  if (it == owners.end()) return 0;
  owners.erase(it);
  DeleteDC(dc);
  return 1;
}

HWND WindowFromDC(HDC dc) {
  auto it = dcOwners().find(dc);
  return it == dcOwners().end() ? nullptr : it->second;
}

BOOL RedrawWindow(HWND hwnd, const RECT* update, HRGN updateRgn, UINT flags) {
  if (!hwnd) {
    for (HWND t : std::vector<HWND>(desktop().topLevels)) RedrawWindow(t, update, updateRgn, flags);
    return TRUE;
  }
  Window* w = FromHandle(hwnd);
  if (!w) return FALSE;
  platform::gdi::Region area = AreaFromArgs(*w, update, updateRgn);
  if (!update && !updateRgn && (flags & RDW_FRAME))
    area = platform::gdi::Region(RECT{0, 0, w->width(), w->height()});
  RedrawArea(*w, area, flags);
  if (flags & RDW_UPDATENOW) {
    bool children = (flags & RDW_ALLCHILDREN) || !(flags & RDW_NOCHILDREN);
    UpdateNow(hwnd, children);
  } else if (flags & RDW_ERASENOW) {
    PrepareForPaint(hwnd);
  }
  return TRUE;
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  return RedrawWindow(hwnd, rect, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase) {
  if (!rgn) return InvalidateRect(hwnd, nullptr, erase);
  if (!platform::gdi::LookupRegion(rgn)) return FALSE;
  return RedrawWindow(hwnd, nullptr, rgn, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
  return RedrawWindow(hwnd, rect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN | (rect ? 0 : RDW_NOINTERNALPAINT));
}

BOOL ValidateRgn(HWND hwnd, HRGN rgn) {
  if (!rgn) return ValidateRect(hwnd, nullptr);
  return RedrawWindow(hwnd, nullptr, rgn, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase) {
  Window* w = FromHandle(hwnd);
  if (!w) return FALSE;
  RECT box = w->update.Box();
  bool empty = w->update.IsEmpty();
  if (rect) {
    *rect = empty ? RECT{0, 0, 0, 0}
                  : RECT{box.left - w->client.left, box.top - w->client.top, box.right - w->client.left,
                         box.bottom - w->client.top};
  }
  if (erase && !empty) PrepareForPaint(hwnd);
  return empty ? FALSE : TRUE;
}

int GetUpdateRgn(HWND hwnd, HRGN rgn, BOOL erase) {
  Window* w = FromHandle(hwnd);
  auto* ro = platform::gdi::LookupRegion(rgn);
  if (!w || !ro) return 0;  // ERROR
  ro->region = w->update;
  ro->region.Offset(-w->client.left, -w->client.top);
  if (erase) PrepareForPaint(hwnd);
  return platform::gdi::RegionType(ro->region);
}

BOOL UpdateWindow(HWND hwnd) {
  if (!IsWindow(hwnd)) return FALSE;
  UpdateNow(hwnd, false);
  return TRUE;
}

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT ps) {
  Window* w = FromHandle(hwnd);
  if (!w || !ps) return nullptr;
  *ps = PAINTSTRUCT{};
  PrepareForPaint(hwnd);
  if (!(w = FromHandle(hwnd))) return nullptr;
  ps->fErase = w->eraseRefused ? TRUE : FALSE;
  w->eraseRefused = false;
  platform::gdi::Region clip = w->update;
  clip.Offset(-w->client.left, -w->client.top);
  RECT box = clip.Box();
  ps->rcPaint = box;
  w->update = platform::gdi::Region();
  w->internalPaint = false;
  w->erasePending = false;
  ps->hdc = MakeWindowDC(hwnd, false, (w->style & WS_CLIPCHILDREN) != 0, true, &clip);
  return ps->hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
  if (!ps) return FALSE;
  ReleaseDC(hwnd, ps->hdc);
  return TRUE;
}

int SetWindowRgn(HWND hwnd, HRGN rgn, BOOL redraw) {
  Window* w = FromHandle(hwnd);
  if (!w) return 0;
  auto* ro = rgn ? platform::gdi::LookupRegion(rgn) : nullptr;
  if (rgn && !ro) return 0;
  // Whatever the window covered before must be repainted by what is behind.
  RECT rc = w->rect;
  if (w->windowRgnHandle && w->windowRgnHandle != rgn) DeleteObject(w->windowRgnHandle);
  w->windowRgnHandle = rgn;  // the window owns the region from now on
  w->hasWindowRgn = ro != nullptr;
  w->windowRgn = ro ? ro->region : platform::gdi::Region();
  if (redraw && IsVisibleOnScreen(*w)) {
    if (w->isChild())
      RedrawWindow(w->parent, &rc, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    else
      InvalidateWindowAll(*w, true, true);
  }
  return 1;
}

int GetWindowRgn(HWND hwnd, HRGN rgn) {
  Window* w = FromHandle(hwnd);
  auto* ro = platform::gdi::LookupRegion(rgn);
  if (!w || !ro || !w->hasWindowRgn) return 0;  // ERROR
  ro->region = w->windowRgn;
  return platform::gdi::RegionType(ro->region);
}
