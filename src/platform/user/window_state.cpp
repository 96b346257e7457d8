// Per-window state: window longs and procedures, properties, text, enabling.
#include <algorithm>
#include <cstring>

#include "platform/user/window.h"

using namespace platform::user;

namespace {

std::string PropKey(LPCSTR name) {
  // Property names are atoms in Win32: case-insensitive, and an integer
  // atom may stand in for a string.
  if (IS_INTRESOURCE(name)) return "#" + std::to_string(reinterpret_cast<std::uintptr_t>(name));
  return Lower(name);
}

bool ExtraInRange(const Window& w, int index, std::size_t size) {
  return index >= 0 && static_cast<std::size_t>(index) + size <= w.extra.size();
}

}  // namespace

// --- window longs -----------------------------------------------------------

LONG_PTR GetWindowLongPtrA(HWND hwnd, int index) {
  Window* w = FromHandle(hwnd);
  if (!w) return 0;
  switch (index) {
    case GWLP_WNDPROC:
      return reinterpret_cast<LONG_PTR>(w->proc);
    case GWLP_HINSTANCE:
      return reinterpret_cast<LONG_PTR>(w->instance);
    case GWLP_HWNDPARENT:
      return reinterpret_cast<LONG_PTR>(w->isChild() ? w->parent : w->owner);
    case GWLP_ID:
      return w->id;
    case GWL_STYLE:
      return static_cast<LONG_PTR>(static_cast<LONG>(w->style));
    case GWL_EXSTYLE:
      return static_cast<LONG_PTR>(static_cast<LONG>(w->exStyle));
    case GWLP_USERDATA:
      return w->userData;
    default:
      if (!ExtraInRange(*w, index, sizeof(LONG_PTR))) return 0;
      LONG_PTR v;
      std::memcpy(&v, w->extra.data() + index, sizeof v);
      return v;
  }
}

LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value) {
  Window* w = FromHandle(hwnd);
  if (!w) return 0;
  LONG_PTR old = GetWindowLongPtrA(hwnd, index);
  switch (index) {
    case GWLP_WNDPROC:
      // A null procedure would leave the window deaf; Win32 refuses it too.
      if (!value) return 0;
      w->proc = reinterpret_cast<WNDPROC>(value);
      RememberProc(w->proc);
      return old;
    case GWLP_HINSTANCE:
      w->instance = reinterpret_cast<HINSTANCE>(value);
      return old;
    case GWLP_ID:
      w->id = value;
      return old;
    case GWLP_USERDATA:
      w->userData = value;
      return old;
    case GWL_STYLE:
    case GWL_EXSTYLE: {
      struct {
        DWORD oldStyle, newStyle;
      } ss{static_cast<DWORD>(old), static_cast<DWORD>(value)};
      WPARAM which = static_cast<WPARAM>(static_cast<LONG>(index));
      SendMessageA(hwnd, WM_STYLECHANGING, which, reinterpret_cast<LPARAM>(&ss));
      if (!(w = FromHandle(hwnd))) return 0;
      (index == GWL_STYLE ? w->style : w->exStyle) = ss.newStyle;
      SendMessageA(hwnd, WM_STYLECHANGED, which, reinterpret_cast<LPARAM>(&ss));
      return old;
    }
    default:
      if (!ExtraInRange(*w, index, sizeof(LONG_PTR))) return 0;
      std::memcpy(w->extra.data() + index, &value, sizeof value);
      return old;
  }
}

LONG GetWindowLongA(HWND hwnd, int index) {
  Window* w = FromHandle(hwnd);
  if (!w) return 0;
  if (index >= 0) {
    if (!ExtraInRange(*w, index, sizeof(LONG))) return 0;
    LONG v;
    std::memcpy(&v, w->extra.data() + index, sizeof v);
    return v;
  }
  // Procedures are full pointers here; the low 32 bits are what a 32-bit
  // caller would keep, and SetWindowLongA with GWL_WNDPROC reverses it
  // through the procedure registry below.
  return static_cast<LONG>(GetWindowLongPtrA(hwnd, index));
}

LONG SetWindowLongA(HWND hwnd, int index, LONG value) {
  Window* w = FromHandle(hwnd);
  if (!w) return 0;
  if (index >= 0) {
    if (!ExtraInRange(*w, index, sizeof(LONG))) return 0;
    LONG old;
    std::memcpy(&old, w->extra.data() + index, sizeof old);
    std::memcpy(w->extra.data() + index, &value, sizeof value);
    return old;
  }
  if (index == GWLP_WNDPROC) {
    // A 32-bit value cannot hold a 64-bit code address. Accept it only when
    // it names a procedure the window has had (its class procedure or one
    // installed through SetWindowLongPtrA), found by its low 32 bits.
    WNDPROC match = nullptr;
    auto low = [](WNDPROC p) { return static_cast<LONG>(reinterpret_cast<LONG_PTR>(p)); };
    if (low(w->cls->proc) == value) match = w->cls->proc;
    for (WNDPROC p : ProcRegistry())
      if (low(p) == value) match = p;
    if (!match) return 0;
    return static_cast<LONG>(SetWindowLongPtrA(hwnd, index, reinterpret_cast<LONG_PTR>(match)));
  }
  return static_cast<LONG>(SetWindowLongPtrA(hwnd, index, value));
}

LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!proc) return 0;
  // A procedure that went through a 32-bit window long (GetWindowLongA,
  // SetWindowLongA) lost its upper half; no code lives that low, so map it
  // back to the installed procedure it came from, or refuse the call.
  auto value = reinterpret_cast<std::uintptr_t>(proc);
  if ((value >> 32) == 0) {
    WNDPROC match = nullptr;
    for (WNDPROC p : ProcRegistry())
      if ((reinterpret_cast<std::uintptr_t>(p) & 0xFFFFFFFFu) == value) match = p;
    if (!match) return 0;
    proc = match;
  }
  return proc(hwnd, msg, wParam, lParam);
}

// --- properties -------------------------------------------------------------

BOOL SetPropA(HWND hwnd, LPCSTR name, HANDLE data) {
  Window* w = FromHandle(hwnd);
  if (!w || !name) return FALSE;
  std::string key = PropKey(name);
  for (auto& [k, v] : w->props)
    if (k == key) {
      v = data;
      return TRUE;
    }
  w->props.emplace_back(std::move(key), data);
  return TRUE;
}

HANDLE GetPropA(HWND hwnd, LPCSTR name) {
  Window* w = FromHandle(hwnd);
  if (!w || !name) return nullptr;
  std::string key = PropKey(name);
  for (auto& [k, v] : w->props)
    if (k == key) return v;
  return nullptr;
}

HANDLE RemovePropA(HWND hwnd, LPCSTR name) {
  Window* w = FromHandle(hwnd);
  if (!w || !name) return nullptr;
  std::string key = PropKey(name);
  for (auto it = w->props.begin(); it != w->props.end(); ++it)
    if (it->first == key) {
      HANDLE v = it->second;
      w->props.erase(it);
      return v;
    }
  return nullptr;
}

// --- text -------------------------------------------------------------------

BOOL SetWindowTextA(HWND hwnd, LPCSTR text) {
  if (!IsWindow(hwnd)) return FALSE;
  return SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) ? TRUE : FALSE;
}

int GetWindowTextA(HWND hwnd, LPSTR buf, int maxCount) {
  if (!buf || maxCount <= 0) return 0;
  buf[0] = '\0';
  if (!IsWindow(hwnd)) return 0;
  return static_cast<int>(
      SendMessageA(hwnd, WM_GETTEXT, static_cast<WPARAM>(maxCount), reinterpret_cast<LPARAM>(buf)));
}

int GetWindowTextLengthA(HWND hwnd) {
  if (!IsWindow(hwnd)) return 0;
  return static_cast<int>(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

namespace platform::user {

// Copies text into buf as WM_GETTEXT does: at most max - 1 bytes and a NUL,
// never cutting a UTF-8 sequence in half.
LRESULT CopyText(const std::string& text, WPARAM max, char* buf) {
  if (!buf || max == 0) return 0;
  std::size_t n = std::min<std::size_t>(text.size(), max - 1);
  if (n < text.size())
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  std::memcpy(buf, text.data(), n);
  buf[n] = '\0';
  return static_cast<LRESULT>(n);
}

std::vector<WNDPROC>& ProcRegistry() {
  static std::vector<WNDPROC> procs;
  return procs;
}

void RememberProc(WNDPROC p) {
  auto& r = ProcRegistry();
  if (p && std::find(r.begin(), r.end(), p) == r.end()) r.push_back(p);
}

}  // namespace platform::user

// --- enabling ---------------------------------------------------------------

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  Window* w = FromHandle(hwnd);
  if (!w) return FALSE;
  BOOL wasDisabled = w->enabled() ? FALSE : TRUE;
  if (enable && !w->enabled()) {
    w->style &= ~WS_DISABLED;
    SendMessageA(hwnd, WM_ENABLE, TRUE, 0);
  } else if (!enable && w->enabled()) {
    // Win32 sends WM_CANCELMODE first; a disabled window loses capture and
    // focus.
    w->style |= WS_DISABLED;
    if (desktop().capture == hwnd) ReleaseCapture();
    if (desktop().focus == hwnd || IsChild(hwnd, desktop().focus)) SetFocus(nullptr);
    if (IsWindow(hwnd)) SendMessageA(hwnd, WM_ENABLE, FALSE, 0);
  }
  // The windows it owns are modal while it is disabled: the screen is told.
  if (IsWindow(hwnd) && !w->isChild() && (wasDisabled != 0) == (enable != 0))
    for (HWND t : std::vector<HWND>(desktop().topLevels))
      if (const Window* o = FromHandle(t); o && o->owner == hwnd) SyncTopLevel(t);
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
  Window* w = FromHandle(hwnd);
  return w && w->enabled() ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND hwnd) {
  Window* w = FromHandle(hwnd);
  return w && IsVisibleOnScreen(*w) ? TRUE : FALSE;
}
