// TrackPopupMenu: the menu loop. It shows the "#32768" window without taking
// the activation, holds the mouse capture for it, and reads the queue itself:
// mouse and key messages drive the menu and reach no window, everything else
// (paints, timers, posted messages) is dispatched as usual.
//
// Sections: the tracker · selection · mouse · keyboard · placement · the loop ·
// TrackPopupMenu and EndMenu
#include <cctype>

#include "platform/user/input.h"
#include "platform/user/menu.h"
#include "platform/user/queue.h"

namespace platform::user {
namespace {

// --- the tracker ----------------------------------------------------------------

struct Tracker {
  HMENU hmenu = nullptr;
  std::shared_ptr<Menu> menu;  // kept alive if the owner destroys the handle meanwhile
  HWND owner = nullptr;
  UINT flags = 0;
  HWND window = nullptr;
  bool ended = false;
  int chosen = -1;
  // The press outside that closed the menu and the mouse input queued after
  // it: it goes on to the windows under it once the menu is gone.
  std::vector<MSG> passOn;
};

Tracker* g_active = nullptr;

bool Notifies(const Tracker& t) { return !(t.flags & TPM_NONOTIFY); }

const MenuItem* ItemAt(const Tracker& t, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= t.menu->items.size()) return nullptr;
  return &t.menu->items[static_cast<std::size_t>(index)];
}

bool CanChoose(const Tracker& t, int index) {
  const MenuItem* item = ItemAt(t, index);
  return item && Selectable(*item);
}

// --- selection --------------------------------------------------------------------

void Select(Tracker& t, int index, bool byMouse) {
  Menu& m = *t.menu;
  if (index == m.selected) return;
  InvalidateMenuItem(t.window, m.selected);
  m.selected = index;
  InvalidateMenuItem(t.window, index);
  const MenuItem* item = ItemAt(t, index);
  if (!item || !Notifies(t)) return;
  UINT state = (item->flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED)) | MF_HILITE;
  if (byMouse) state |= MF_MOUSESELECT;
  SendMessageA(t.owner, WM_MENUSELECT, MAKEWPARAM(item->id, state), reinterpret_cast<LPARAM>(t.hmenu));
}

void Choose(Tracker& t, int index, bool byMouse = false) {
  Select(t, index, byMouse);
  t.chosen = index;
  t.ended = true;
}

// The next item that can be chosen from `from` in direction dir (+1 or -1),
// wrapping round; from = -1 starts before the first (or after the last).
int Step(const Tracker& t, int from, int dir) {
  const int n = static_cast<int>(t.menu->items.size());
  const int start = from >= 0 ? from : (dir > 0 ? -1 : n);
  for (int k = 1; k <= n; ++k) {
    int i = ((start + dir * k) % n + n) % n;
    if (CanChoose(t, i)) return i;
  }
  return -1;
}

// --- mouse --------------------------------------------------------------------------

bool IsMouseMessage(UINT msg) {
  return (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || (msg >= WM_NCMOUSEMOVE && msg <= 0x00A9);
}

bool IsPress(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      return true;
    default:
      return false;
  }
}

// The capture sends every mouse message to the menu window; where it points
// is the cursor position stamped on the message.
void OnMouse(Tracker& t, const MSG& msg) {
  const int hit = MenuItemAt(t.window, msg.pt);
  if (msg.message == WM_MOUSEMOVE) {
    // Off the menu, or onto a separator or a grayed item, nothing is selected.
    Select(t, CanChoose(t, hit) ? hit : -1, true);
  } else if (IsPress(msg.message)) {
    if (hit == -1) {
      t.passOn.push_back(msg);
      t.ended = true;
    } else if (CanChoose(t, hit)) {
      Select(t, hit, true);
    }
  } else if (msg.message == WM_LBUTTONUP || (msg.message == WM_RBUTTONUP && (t.flags & TPM_RIGHTBUTTON))) {
    if (CanChoose(t, hit)) Choose(t, hit, true);
  }
}

void PassOn(const MSG& m) {
  const bool down = IsPress(m.message);
  switch (m.message) {
    case WM_MOUSEMOVE:
      InjectMouseMove(m.pt);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
      InjectMouseButton(m.pt, MouseButton::Left, down);
      break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
      InjectMouseButton(m.pt, MouseButton::Right, down);
      break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MBUTTONUP:
      InjectMouseButton(m.pt, MouseButton::Middle, down);
      break;
    default:
      break;
  }
}

// --- keyboard -----------------------------------------------------------------------

// A typed character: the item whose underlined letter it is is chosen; when
// several share it, the selection moves to the next of them; when none has
// it, the owner is asked with WM_MENUCHAR.
void OnChar(Tracker& t, WPARAM ch) {
  if (ch < 0x20 || ch >= 0x80) return;  // control codes, and the bytes of non-ASCII text
  const char want = static_cast<char>(std::tolower(static_cast<int>(ch)));
  std::vector<int> hits;
  for (std::size_t i = 0; i < t.menu->items.size(); ++i)
    if (Selectable(t.menu->items[i]) && MnemonicOf(t.menu->items[i].text) == want)
      hits.push_back(static_cast<int>(i));
  if (hits.size() == 1) {
    Choose(t, hits[0]);
    return;
  }
  if (hits.size() > 1) {
    int next = hits[0];
    for (int h : hits)
      if (h > t.menu->selected) {
        next = h;
        break;
      }
    Select(t, next, false);
    return;
  }
  LRESULT r = SendMessageA(t.owner, WM_MENUCHAR, MAKEWPARAM(ch, MF_POPUP), reinterpret_cast<LPARAM>(t.hmenu));
  const int index = LOWORD(r);
  switch (HIWORD(r)) {
    case MNC_CLOSE:
      t.ended = true;
      break;
    case MNC_EXECUTE:
      if (CanChoose(t, index)) Choose(t, index);
      break;
    case MNC_SELECT:
      if (CanChoose(t, index)) Select(t, index, false);
      break;
    default:
      MessageBeep(0);
      break;
  }
}

void OnKey(Tracker& t, const MSG& msg) {
  if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR) {
    OnChar(t, msg.wParam);
    return;
  }
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return;
  const int cur = t.menu->selected;
  switch (msg.wParam) {
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END: {
      const bool ends = msg.wParam == VK_HOME || msg.wParam == VK_END;
      const int dir = msg.wParam == VK_UP || msg.wParam == VK_END ? -1 : 1;
      int next = Step(t, ends ? -1 : cur, dir);
      if (next >= 0) Select(t, next, false);
      break;
    }
    case VK_RETURN:
      if (CanChoose(t, cur))
        Choose(t, cur);
      else
        t.ended = true;
      break;
    case VK_ESCAPE:
    case VK_MENU:
    case VK_F10:
      t.ended = true;
      break;
    default:
      break;
  }
}

// --- placement ------------------------------------------------------------------------

// One axis: align 0 puts the menu after the point, 1 centres it, 2 ends it
// there. A menu that runs off the screen goes to the other side of the point
// if it fits there, else it is pushed in from the edge.
int Fit(int at, int size, int screen, int align) {
  int pos = align == 0 ? at : align == 1 ? at - size / 2 : at - size;
  if (pos + size > screen) pos = align == 0 && at - size >= 0 ? at - size : screen - size;
  if (pos < 0) pos = align == 2 && at + size <= screen ? at : 0;
  return pos;
}

void Place(HWND window, int x, int y, UINT flags) {
  RECT r;
  GetWindowRect(window, &r);
  int hAlign = (flags & TPM_RIGHTALIGN) ? 2 : (flags & TPM_CENTERALIGN) ? 1 : 0;
  int vAlign = (flags & TPM_BOTTOMALIGN) ? 2 : (flags & TPM_VCENTERALIGN) ? 1 : 0;
  int px = Fit(x, r.right - r.left, GetSystemMetrics(SM_CXSCREEN), hAlign);
  int py = Fit(y, r.bottom - r.top, GetSystemMetrics(SM_CYSCREEN), vAlign);
  SetWindowPos(window, HWND_TOPMOST, px, py, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

// --- the loop ---------------------------------------------------------------------------

void RunLoop(Tracker& t) {
  bool idleSent = false;
  MSG msg;
  while (!t.ended) {
    // The menu ends with its handle, its owner, its window, or the capture
    // taken by someone else.
    if (!IsMenu(t.hmenu) || !IsWindow(t.owner) || !IsWindow(t.window) || GetCapture() != t.window) break;
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      idleSent = false;
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      if (IsMouseMessage(msg.message))
        OnMouse(t, msg);
      else if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST)
        OnKey(t, msg);
      else
        DispatchMessageA(&msg);
      continue;
    }
    if (!idleSent) {
      idleSent = true;
      SendMessageA(t.owner, WM_ENTERIDLE, MSGF_MENU, reinterpret_cast<LPARAM>(t.window));
      continue;  // the owner may have posted or ended something
    }
    if (!WaitForWork()) break;  // headless with nothing that could ever come
  }
}

// Takes the window down and tells the owner the menu is over.
void Close(Tracker& t, bool shown) {
  if (IsWindow(t.window)) {
    // Mouse input queued behind the press that closed the menu follows it.
    MSG m;
    if (!t.passOn.empty())
      while (PeekMessageA(&m, t.window, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) t.passOn.push_back(m);
    if (GetCapture() == t.window) ReleaseCapture();
    DestroyWindow(t.window);
  }
  t.menu->selected = -1;
  if (!IsWindow(t.owner)) return;
  if (shown && Notifies(t)) SendMessageA(t.owner, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(t.hmenu), 0);
  if (IsWindow(t.owner)) SendMessageA(t.owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  if (IsWindow(t.owner)) SendMessageA(t.owner, WM_EXITMENULOOP, TRUE, 0);
}

}  // namespace
}  // namespace platform::user

using namespace platform::user;

// --- TrackPopupMenu and EndMenu ---------------------------------------------------------

BOOL TrackPopupMenu(HMENU hmenu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
  auto menu = MenuFromHandle(hmenu);
  if (!menu || !IsWindow(owner) || g_active) return FALSE;
  Tracker t;
  t.hmenu = hmenu;
  t.menu = menu;
  t.owner = owner;
  t.flags = flags;
  g_active = &t;
  if (Notifies(t)) {
    SendMessageA(owner, WM_ENTERMENULOOP, TRUE, 0);
    if (IsWindow(owner)) SendMessageA(owner, WM_INITMENU, reinterpret_cast<WPARAM>(hmenu), 0);
    // Last word before the menu is measured: the owner grays what cannot act.
    if (IsWindow(owner))
      SendMessageA(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hmenu), MAKELPARAM(0, FALSE));
  }
  bool shown = false;
  if (IsMenu(hmenu) && IsWindow(owner) && (t.window = CreateMenuWindow(hmenu, owner))) {
    menu->selected = -1;
    Place(t.window, x, y, flags);
    ShowWindow(t.window, SW_SHOWNA);
    shown = IsWindow(t.window);
    if (shown) {
      SetCapture(t.window);
      RunLoop(t);
    }
  }
  Close(t, shown);
  g_active = nullptr;

  const MenuItem* item = t.chosen >= 0 ? ItemAt(t, t.chosen) : nullptr;
  const UINT_PTR id = item ? item->id : 0;
  if (item && !(flags & TPM_RETURNCMD) && IsWindow(owner))
    PostMessageA(owner, WM_COMMAND, MAKEWPARAM(id, 0), 0);
  for (const MSG& m : t.passOn) PassOn(m);
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(id);
  return shown ? TRUE : FALSE;
}

BOOL EndMenu() {
  if (!g_active) return FALSE;
  g_active->ended = true;
  return TRUE;
}
