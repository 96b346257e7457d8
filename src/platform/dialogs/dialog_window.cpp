// The "#32770" class and the modal run of a dialog.
//
// Sections: registry of live dialogs · keyboard routing · the class
// procedure · running.
#include "platform/dialogs/dialog_window.h"

#include <strings.h>

#include <algorithm>
#include <unordered_map>

#include "platform/user/modal.h"

namespace platform::dialogs {

struct DialogAccess {
  static void Attach(DialogWindow* d, HWND h) { d->hwnd_ = h; }
  static void Detach(DialogWindow* d) { d->hwnd_ = nullptr; }
  static void Command(DialogWindow* d, int id, int code, HWND ctl) { d->OnCommand(id, code, ctl); }
  static void Paint(DialogWindow* d, HDC dc) { d->OnPaint(dc); }
  static bool Message(DialogWindow* d, UINT m, WPARAM w, LPARAM l, LRESULT& r) {
    return d->OnMessage(m, w, l, r);
  }
  static int& DefaultId(DialogWindow* d) { return d->defaultId_; }
  static HWND& SavedFocus(DialogWindow* d) { return d->savedFocus_; }
  static void RestoreFocus(DialogWindow* d) {
    HWND f = d->savedFocus_;
    if (!f || !IsChild(d->hwnd_, f) || !IsWindowVisible(f) || !IsWindowEnabled(f)) f = d->InitialFocus();
    if (f && GetFocus() != f) SetFocus(f);
  }
};

namespace {

constexpr char kClassName[] = "#32770";
constexpr char kPrevProcProp[] = "HwfDialogKeyPrev";

// --- Registry of live dialogs.

std::unordered_map<HWND, DialogWindow*>& Live() {
  static std::unordered_map<HWND, DialogWindow*> m;
  return m;
}

DialogWindow* DialogOf(HWND hwnd) {
  auto it = Live().find(hwnd);
  return it == Live().end() ? nullptr : it->second;
}

// --- Keyboard routing. The modal loop moves the focus with Tab; Enter and
// Escape belong to the dialog unless the focused control wants them itself
// (a multi-line edit, an open drop-down list).

bool IsClass(HWND hwnd, const char* name) {
  char cls[32];
  return GetClassNameA(hwnd, cls, sizeof cls) > 0 && strcasecmp(cls, name) == 0;
}

bool ControlWantsKey(HWND control, WPARAM vk) {
  MSG m{control, WM_KEYDOWN, vk, 0, 0, {0, 0}};
  LRESULT code = SendMessageA(control, WM_GETDLGCODE, vk, reinterpret_cast<LPARAM>(&m));
  if (code & DLGC_WANTALLKEYS) return true;
  for (HWND h = control; h && !(GetWindowLongA(h, GWL_STYLE) & WS_POPUP); h = GetParent(h))
    if (IsClass(h, "ComboBox") && SendMessageA(h, CB_GETDROPPEDSTATE, 0, 0)) return true;
  return false;
}

bool IsPushButton(HWND hwnd) {
  if (!hwnd || !IsClass(hwnd, "Button")) return false;
  DWORD kind = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)) & BS_TYPEMASK;
  return kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON;
}

// Sends the dialog the command Enter or Escape stands for; false when the
// key is not the dialog's.
bool RouteDialogKey(HWND dialog, HWND focus, WPARAM vk) {
  DialogWindow* d = DialogOf(dialog);
  if (!d) return false;
  int id = IDCANCEL;
  if (vk == VK_RETURN) {
    id = IsPushButton(focus) ? GetDlgCtrlID(focus) : DialogAccess::DefaultId(d);
  }
  HWND button = GetDlgItem(dialog, id);
  if (button && !IsWindowEnabled(button)) return true;  // a disabled default does nothing
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  return true;
}

// The character after a lone '&' of a caption, upper-cased; 0 if none.
char MnemonicOf(const std::string& text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    char c = text[i + 1];
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return 0;
}

// Alt+letter (or the plain letter while a button has the focus): the
// control whose caption underlines it acts. A label passes the focus to
// the control after it, a button is clicked, anything else takes the focus.
bool RouteMnemonic(HWND dialog, WPARAM vk) {
  if (!((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))) return false;
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!IsWindowVisible(c) || MnemonicOf(WindowText(c)) != static_cast<char>(vk)) continue;
    if (IsClass(c, "Static")) {
      for (HWND n = GetWindow(c, GW_HWNDNEXT); n; n = GetWindow(n, GW_HWNDNEXT))
        if ((GetWindowLongA(n, GWL_STYLE) & WS_TABSTOP) && IsWindowVisible(n) && IsWindowEnabled(n)) {
          SetFocus(n);
          break;
        }
      return true;
    }
    if (!IsWindowEnabled(c)) return true;
    if (IsClass(c, "Button"))
      SendMessageA(c, BM_CLICK, 0, 0);
    else
      SetFocus(c);
    return true;
  }
  return false;
}

HWND DialogOfControl(HWND control) {
  HWND root = GetAncestor(control, GA_ROOT);
  return DialogOf(root) ? root : nullptr;
}

LRESULT CALLBACK KeyFilterProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto prev = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kPrevProcProp));
  if (!prev) return DefWindowProcA(hwnd, msg, wParam, lParam);
  const bool dialogKey = wParam == VK_RETURN || wParam == VK_ESCAPE;
  if (msg == WM_KEYDOWN && dialogKey && !ControlWantsKey(hwnd, wParam)) {
    if (HWND dialog = DialogOfControl(hwnd); dialog && RouteDialogKey(dialog, hwnd, wParam)) return 0;
  }
  if (msg == WM_SYSKEYDOWN ||
      (msg == WM_KEYDOWN && IsClass(hwnd, "Button") && !(GetKeyState(VK_CONTROL) & 0x8000))) {
    if (HWND dialog = DialogOfControl(hwnd); dialog && RouteMnemonic(dialog, wParam)) return 0;
  }
  if (msg == WM_CHAR && (wParam == '\r' || wParam == '\n' || wParam == 0x1B) &&
      !ControlWantsKey(hwnd, wParam == 0x1B ? VK_ESCAPE : VK_RETURN))
    return 0;  // its key went to the dialog already
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(prev));
    RemovePropA(hwnd, kPrevProcProp);
  }
  return CallWindowProcA(prev, hwnd, msg, wParam, lParam);
}

BOOL CALLBACK FilterKeysOf(HWND hwnd, LPARAM) {
  if (GetPropA(hwnd, kPrevProcProp)) return TRUE;
  LONG_PTR prev = SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&KeyFilterProc));
  SetPropA(hwnd, kPrevProcProp, reinterpret_cast<HANDLE>(prev));
  return TRUE;
}

// --- The class procedure.

LRESULT CALLBACK DialogClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
    if (auto* d = static_cast<DialogWindow*>(cs->lpCreateParams)) {
      Live()[hwnd] = d;
      DialogAccess::Attach(d, hwnd);
    }
  }
  DialogWindow* d = DialogOf(hwnd);
  if (!d) return DefWindowProcA(hwnd, msg, wParam, lParam);
  LRESULT result = 0;
  if (DialogAccess::Message(d, msg, wParam, lParam, result)) return result;
  switch (msg) {
    case WM_COMMAND:
      DialogAccess::Command(d, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_CLOSE:
      SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      return 0;
    case WM_KEYDOWN:
      // The dialog itself has the focus when no control could take it.
      if (wParam == VK_RETURN || wParam == VK_ESCAPE)
        RouteDialogKey(hwnd, nullptr, wParam);
      else
        RouteMnemonic(hwnd, wParam);
      return 0;
    case WM_SYSKEYDOWN:
      if (!RouteMnemonic(hwnd, wParam)) return DefWindowProcA(hwnd, msg, wParam, lParam);
      return 0;
    case WM_PAINT: {
      win32::PaintDc dc(hwnd);
      if (dc.get()) DialogAccess::Paint(d, dc.get());
      return 0;
    }
    case WM_ACTIVATE:
      // Like the dialog manager: the control that had the focus gets it back
      // when the dialog is active again (after a message box, say).
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND f = GetFocus();
        if (f && IsChild(hwnd, f)) DialogAccess::SavedFocus(d) = f;
      } else {
        DialogAccess::RestoreFocus(d);
      }
      return 0;
    case WM_SETFOCUS:
      DialogAccess::RestoreFocus(d);
      return 0;
    case DM_GETDEFID:
      return MAKELRESULT(DialogAccess::DefaultId(d), DC_HASDEFID);
    case DM_SETDEFID:
      DialogAccess::DefaultId(d) = static_cast<int>(wParam);
      return TRUE;
    case WM_NCDESTROY:
      Live().erase(hwnd);
      DialogAccess::Detach(d);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

void RegisterDialogClass() {
  WNDCLASSEXA existing{};
  if (GetClassInfoExA(nullptr, kClassName, &existing)) return;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS | CS_SAVEBITS | CS_GLOBALCLASS;
  wc.lpfnWndProc = DialogClassProc;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_3DFACE + 1));
  wc.lpszClassName = kClassName;
  RegisterClassExA(&wc);
}

}  // namespace

// --- Running.

std::string WindowText(HWND hwnd) {
  int n = GetWindowTextLengthA(hwnd);
  std::string s(static_cast<std::size_t>(std::max(n, 0)) + 1, '\0');
  int got = GetWindowTextA(hwnd, s.data(), static_cast<int>(s.size()));
  s.resize(static_cast<std::size_t>(std::max(got, 0)));
  return s;
}

HFONT DialogFont() {
  return CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "宋体");
}

DialogWindow::~DialogWindow() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
  if (font_) DeleteObject(font_);
}

INT_PTR DialogWindow::Run(HWND owner, const char* caption, int width, int height) {
  RegisterDialogClass();
  owner_ = owner && IsWindow(owner) ? GetAncestor(owner, GA_ROOT) : nullptr;
  if (!font_) font_ = DialogFont();

  RECT around{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (owner_) GetWindowRect(owner_, &around);
  int x = around.left + (around.right - around.left - width) / 2;
  int y = around.top + (around.bottom - around.top - height) / 2;
  x = std::max(0, std::min(x, GetSystemMetrics(SM_CXSCREEN) - width));
  y = std::max(0, std::min(y, GetSystemMetrics(SM_CYSCREEN) - height));

  CreateWindowExA(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, kClassName, caption ? caption : "",
                  WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN, x, y, width, height,
                  owner_, nullptr, nullptr, this);
  if (!hwnd_) return kNoAnswer;
  const HWND self = hwnd_;
  SendMessageA(self, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  Build();
  ShowWindow(self, SW_SHOW);
  SetActiveWindow(self);
  if (HWND first = InitialFocus()) SetFocus(first);
  if (!ended_ && IsWindow(self)) platform::user::RunModalLoop(self, owner_);
  INT_PTR result = ended_ ? result_ : kNoAnswer;
  if (IsWindow(self)) DestroyWindow(self);
  return result;
}

HWND DialogWindow::InitialFocus() {
  for (HWND c = GetWindow(hwnd_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if ((GetWindowLongA(c, GWL_STYLE) & WS_TABSTOP) && IsWindowEnabled(c) && IsWindowVisible(c)) return c;
  return nullptr;
}

void DialogWindow::EndDialog(INT_PTR result) {
  if (ended_) return;
  ended_ = true;
  result_ = result;
  if (hwnd_) platform::user::EndModalLoop(hwnd_, result);
}

HWND DialogWindow::Add(const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id,
                       DWORD exStyle) {
  HWND c = CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, hwnd_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  if (!c) return nullptr;
  SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  FilterKeysOf(c, 0);
  EnumChildWindows(c, FilterKeysOf, 0);
  return c;
}

int DialogWindow::Ask(const std::string& text, UINT type) {
  std::string caption = WindowText(hwnd_);
  return MessageBoxA(hwnd_, text.c_str(), caption.c_str(), type);
}

}  // namespace platform::dialogs
