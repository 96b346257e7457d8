// Creating and destroying windows, and walking the window tree.
//
// Sections: lookup and dispatch · CreateWindowExA · DestroyWindow ·
// relations (GetParent, GetWindow, GetAncestor, ...) · enumeration
#include <algorithm>
#include <cstring>

#include "platform/user/backend.h"
#include "platform/user/window.h"

namespace platform::user {

// --- lookup and dispatch ----------------------------------------------------

Window* FromHandle(HWND hwnd) {
  auto* h = Lookup<WindowHolder>(hwnd, HandleKind::Window);
  return h ? h->window.get() : nullptr;
}

std::shared_ptr<Window> SharedFromHandle(HWND hwnd) {
  auto* h = Lookup<WindowHolder>(hwnd, HandleKind::Window);
  return h ? h->window : nullptr;
}

Desktop& desktop() {
  static Desktop d;
  return d;
}

namespace {
int g_callDepth = 0;
// Deep enough for any real nesting of sent messages; beyond it a runaway
// recursion fails cleanly instead of overflowing the stack.
constexpr int kMaxCallDepth = 400;
}  // namespace

LRESULT CallProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  std::shared_ptr<Window> keep = SharedFromHandle(hwnd);
  if (!keep || !keep->proc) return 0;
  if (g_callDepth >= kMaxCallDepth) return 0;
  ++g_callDepth;
  LRESULT r = keep->proc(hwnd, msg, wParam, lParam);
  --g_callDepth;
  return r;
}

HWND TopLevelOf(HWND hwnd) {
  Window* w = FromHandle(hwnd);
  while (w && w->isChild()) {
    hwnd = w->parent;
    w = FromHandle(hwnd);
  }
  return w ? hwnd : nullptr;
}

bool IsVisibleOnScreen(const Window& w) {
  const Window* p = &w;
  while (p) {
    if (!p->visible()) return false;
    p = p->isChild() ? FromHandle(p->parent) : nullptr;
  }
  return true;
}

namespace {

void PreOrder(const Window& w, std::vector<HWND>& out) {
  for (HWND c : w.children) {
    out.push_back(c);
    if (Window* cw = FromHandle(c)) PreOrder(*cw, out);
  }
}

void Unlink(Window& w) {
  Window* parent = w.isChild() ? FromHandle(w.parent) : nullptr;
  if (w.isChild() && !parent) return;
  auto& list = parent ? parent->children : desktop().topLevels;
  list.erase(std::remove(list.begin(), list.end(), w.hwnd), list.end());
}

}  // namespace

std::vector<HWND> Descendants(HWND hwnd) {
  std::vector<HWND> out;
  if (Window* w = FromHandle(hwnd)) PreOrder(*w, out);
  return out;
}

}  // namespace platform::user

using namespace platform::user;

// --- CreateWindowExA --------------------------------------------------------

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int w,
                     int h, HWND parent, HMENU menu, HINSTANCE inst, LPVOID param) {
  auto cls = FindClass(className);
  if (!cls) return nullptr;
  if (parent && !FromHandle(parent)) return nullptr;
  if ((style & WS_CHILD) && !parent) return nullptr;

  auto win = std::make_shared<Window>();
  win->cls = cls;
  win->proc = cls->proc;
  win->style = style & ~WS_VISIBLE;  // shown after WM_CREATE, as Win32 does
  win->exStyle = exStyle;
  win->instance = inst;
  win->extra.assign(static_cast<std::size_t>(cls->cbWndExtra), 0);
  if (style & WS_CHILD) {
    win->parent = parent;
    win->id = reinterpret_cast<LONG_PTR>(menu);
  } else {
    // A top-level window given a "parent" is owned by that window's root.
    win->owner = parent ? TopLevelOf(parent) : nullptr;
    if (x == CW_USEDEFAULT) x = 0, y = 0;
    if (w == CW_USEDEFAULT) w = 640, h = 480;
  }
  if (x == CW_USEDEFAULT) x = 0;
  if (y == CW_USEDEFAULT) y = 0;
  if (w == CW_USEDEFAULT) w = 0;
  if (h == CW_USEDEFAULT) h = 0;
  win->rect = RECT{x, y, x + std::max(w, 0), y + std::max(h, 0)};

  auto holder = std::make_unique<WindowHolder>();
  holder->window = win;
  HWND hwnd = static_cast<HWND>(platform::AllocHandle(platform::HandleKind::Window, std::move(holder)));
  win->hwnd = hwnd;

  // A new child goes below its earlier siblings; a new top-level window
  // goes in front of the others.
  if (win->isChild()) {
    FromHandle(parent)->children.push_back(hwnd);
  } else {
    desktop().topLevels.insert(desktop().topLevels.begin(), hwnd);
    win->surface = platform::gdi::PixelBuffer::ForScreen(win->width(), win->height(), 0xFFFFFF);
    win->surface->Touch(0, 0, win->width(), win->height());  // a new window is shown whole
  }
  win->client = DefaultClientRect(*win, win->rect);
  win->client = RECT{win->client.left - win->rect.left, win->client.top - win->rect.top,
                     win->client.right - win->rect.left, win->client.bottom - win->rect.top};

  CREATESTRUCTA cs{};
  cs.lpCreateParams = param;
  cs.hInstance = inst;
  cs.hMenu = menu;
  cs.hwndParent = parent;
  cs.cx = win->width();
  cs.cy = win->height();
  cs.x = x;
  cs.y = y;
  cs.style = static_cast<LONG>(style);
  cs.lpszName = windowName;
  cs.lpszClass = className;
  cs.dwExStyle = exStyle;

  if (!SendMessageA(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  if (!IsWindow(hwnd)) return nullptr;
  RecalcClient(*win);
  if (SendMessageA(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  if (!IsWindow(hwnd)) return nullptr;
  SendMessageA(hwnd, WM_SIZE, SIZE_RESTORED,
               MAKELPARAM(win->client.right - win->client.left, win->client.bottom - win->client.top));
  SendMessageA(hwnd, WM_MOVE, 0,
               MAKELPARAM(win->rect.left + win->client.left, win->rect.top + win->client.top));
  if (win->isChild() && !(exStyle & WS_EX_NOPARENTNOTIFY))
    SendMessageA(parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, win->id), reinterpret_cast<LPARAM>(hwnd));
  if (!IsWindow(hwnd)) return nullptr;
  if (!win->isChild()) SyncTopLevel(hwnd);
  if (style & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
  return IsWindow(hwnd) ? hwnd : nullptr;
}

// --- DestroyWindow ----------------------------------------------------------

BOOL DestroyWindow(HWND hwnd) {
  std::shared_ptr<Window> win = SharedFromHandle(hwnd);
  if (!win) return FALSE;
  if (win->destroying) return TRUE;  // already on its way out (called from its own WM_DESTROY)
  std::vector<HWND> subtree{hwnd};
  for (HWND d : Descendants(hwnd)) subtree.push_back(d);
  for (HWND d : subtree)
    if (Window* dw = FromHandle(d)) dw->destroying = true;

  // Owned top-level windows go first, as in Win32.
  std::vector<HWND> owned;
  for (HWND t : desktop().topLevels)
    if (Window* tw = FromHandle(t); tw && tw->owner == hwnd) owned.push_back(t);
  for (HWND o : owned) DestroyWindow(o);

  if (win->visible()) ShowWindow(hwnd, SW_HIDE);
  if (win->isChild() && !(win->exStyle & WS_EX_NOPARENTNOTIFY))
    SendMessageA(win->parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, win->id),
                 reinterpret_cast<LPARAM>(hwnd));

  std::vector<std::shared_ptr<Window>> keep;
  for (HWND d : subtree)
    if (auto s = SharedFromHandle(d)) keep.push_back(s);

  // WM_DESTROY goes parent first; WM_NCDESTROY children first, so every
  // window still sees its children during its own WM_DESTROY.
  for (HWND d : subtree) SendMessageA(d, WM_DESTROY, 0, 0);
  for (auto it = subtree.rbegin(); it != subtree.rend(); ++it) {
    SendMessageA(*it, WM_NCDESTROY, 0, 0);
    Window* dw = FromHandle(*it);
    if (!dw) continue;
    OnWindowDestroyed(*it);
    if (!dw->isChild()) CurrentBackend().TopLevelDestroyed(*it);
    Unlink(*dw);
    if (dw->windowRgnHandle) DeleteObject(dw->windowRgnHandle);
    dw->windowRgnHandle = nullptr;
    // The object itself lives on in `keep` and in any dispatch still on the
    // stack; only the handle dies now.
    platform::ReleaseHandle(*it);
  }
  return TRUE;
}

BOOL IsWindow(HWND hwnd) { return FromHandle(hwnd) != nullptr; }

// --- relations --------------------------------------------------------------

HWND GetParent(HWND hwnd) {
  Window* w = FromHandle(hwnd);
  if (!w) return nullptr;
  return w->isChild() ? w->parent : w->owner;
}

HWND SetParent(HWND child, HWND newParent) {
  Window* w = FromHandle(child);
  if (!w || !w->isChild() || !FromHandle(newParent)) return nullptr;
  for (HWND p = newParent; p; p = GetParent(p))
    if (p == child) return nullptr;  // would make a cycle
  HWND old = w->parent;
  bool wasVisible = w->visible();
  if (wasVisible) ShowWindow(child, SW_HIDE);
  Unlink(*w);
  w->parent = newParent;
  FromHandle(newParent)->children.insert(FromHandle(newParent)->children.begin(), child);
  if (wasVisible) ShowWindow(child, SW_SHOWNA);
  return old;
}

BOOL IsChild(HWND parent, HWND hwnd) {
  Window* w = FromHandle(hwnd);
  while (w && w->isChild()) {
    if (w->parent == parent) return TRUE;
    w = FromHandle(w->parent);
  }
  return FALSE;
}

HWND GetWindow(HWND hwnd, UINT cmd) {
  Window* w = FromHandle(hwnd);
  if (!w) return nullptr;
  if (cmd == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
  if (cmd == GW_OWNER) return w->isChild() ? nullptr : w->owner;
  if (cmd == GW_ENABLEDPOPUP) return nullptr;
  const auto& list = w->isChild() ? FromHandle(w->parent)->children : desktop().topLevels;
  auto it = std::find(list.begin(), list.end(), hwnd);
  if (it == list.end()) return nullptr;
  switch (cmd) {
    case GW_HWNDFIRST:
      return list.front();
    case GW_HWNDLAST:
      return list.back();
    case GW_HWNDNEXT:
      return it + 1 == list.end() ? nullptr : *(it + 1);
    case GW_HWNDPREV:
      return it == list.begin() ? nullptr : *(it - 1);
    default:
      return nullptr;
  }
}

HWND GetTopWindow(HWND hwnd) {
  if (!hwnd) return desktop().topLevels.empty() ? nullptr : desktop().topLevels.front();
  return GetWindow(hwnd, GW_CHILD);
}

HWND GetAncestor(HWND hwnd, UINT flags) {
  Window* w = FromHandle(hwnd);
  if (!w) return nullptr;
  switch (flags) {
    case GA_PARENT:
      return w->isChild() ? w->parent : GetDesktopWindow();
    case GA_ROOT:
      return TopLevelOf(hwnd);
    case GA_ROOTOWNER: {
      HWND r = TopLevelOf(hwnd);
      while (Window* rw = FromHandle(r)) {
        if (!rw->owner) break;
        r = rw->owner;
      }
      return r;
    }
    default:
      return nullptr;
  }
}

HWND GetDesktopWindow() {
  // The desktop is not a window object here; no call accepts it except as
  // "no parent".
  return nullptr;
}

HWND GetDlgItem(HWND dialog, int id) {
  Window* w = FromHandle(dialog);
  if (!w) return nullptr;
  for (HWND c : w->children)
    if (Window* cw = FromHandle(c); cw && cw->id == id) return c;
  return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
  Window* w = FromHandle(hwnd);
  return w && w->isChild() ? static_cast<int>(w->id) : 0;
}

HWND FindWindowA(LPCSTR className, LPCSTR windowName) {
  for (HWND t : desktop().topLevels) {
    Window* w = FromHandle(t);
    if (!w) continue;
    if (className && Lower(className) != w->cls->key) continue;
    if (windowName && w->text != windowName) continue;
    return t;
  }
  return nullptr;
}

// --- enumeration ------------------------------------------------------------

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
  if (!proc || !FromHandle(parent)) return FALSE;
  // Walk a snapshot: windows created during the walk are not visited, and
  // windows destroyed during it are skipped.
  for (HWND c : Descendants(parent)) {
    if (!IsWindow(c)) continue;
    if (!proc(c, lParam)) return FALSE;
  }
  return TRUE;
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam) {
  if (!proc) return FALSE;
  std::vector<HWND> snapshot = desktop().topLevels;
  for (HWND t : snapshot) {
    if (!IsWindow(t)) continue;
    if (!proc(t, lParam)) return FALSE;
  }
  return TRUE;
}
