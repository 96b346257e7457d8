// Window classes: registration, lookup and class names.
#include <cctype>
#include <cstring>
#include <map>

#include "platform/controls/register.h"
#include "platform/user/window.h"

namespace platform::user {
namespace {

struct ClassTable {
  std::map<std::string, std::shared_ptr<WindowClass>> byKey;
  ATOM nextAtom = 0xC000;  // registered classes get atoms from the string-atom range
};

ClassTable& classes() {
  static ClassTable t;
  return t;
}

std::string KeyOf(const char* name) {
  if (IS_INTRESOURCE(name)) return "#" + std::to_string(reinterpret_cast<std::uintptr_t>(name));
  return Lower(name);
}

}  // namespace

std::string Lower(const char* s) {
  std::string out = s ? s : "";
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::shared_ptr<WindowClass> FindClass(const char* name) {
  if (!name) return nullptr;
  auto& t = classes();
  if (IS_INTRESOURCE(name)) {
    auto atom = static_cast<ATOM>(reinterpret_cast<std::uintptr_t>(name));
    for (auto& [key, cls] : t.byKey)
      if (cls->atom == atom) return cls;
    return nullptr;
  }
  auto it = t.byKey.find(KeyOf(name));
  if (it != t.byKey.end()) return it->second;
  // The standard controls register themselves the first time one of their
  // names is looked up, so no start-up call is needed before creating one.
  if (!platform::controls::IsStandardClassName(name)) return nullptr;
  platform::controls::RegisterStandardControls();
  it = t.byKey.find(KeyOf(name));
  return it == t.byKey.end() ? nullptr : it->second;
}

}  // namespace platform::user

using platform::user::WindowClass;

ATOM RegisterClassExA(const WNDCLASSEXA* wc) {
  if (!wc || !wc->lpszClassName || IS_INTRESOURCE(wc->lpszClassName) || !wc->lpfnWndProc) return 0;
  if (wc->cbWndExtra < 0 || wc->cbClsExtra < 0 || wc->cbWndExtra > 40 * 1024) return 0;
  auto& t = platform::user::classes();
  std::string key = platform::user::KeyOf(wc->lpszClassName);
  if (t.byKey.count(key)) return 0;  // ERROR_CLASS_ALREADY_EXISTS
  auto cls = std::make_shared<WindowClass>();
  cls->name = wc->lpszClassName;
  cls->key = key;
  cls->style = wc->style;
  cls->proc = wc->lpfnWndProc;
  cls->cbClsExtra = wc->cbClsExtra;
  cls->cbWndExtra = wc->cbWndExtra;
  cls->instance = wc->hInstance;
  cls->cursor = wc->hCursor;
  cls->background = wc->hbrBackground;
  cls->atom = t.nextAtom++;
  platform::user::RememberProc(cls->proc);
  t.byKey.emplace(key, cls);
  return cls->atom;
}

ATOM RegisterClassA(const WNDCLASSA* wc) {
  if (!wc) return 0;
  WNDCLASSEXA ex{};
  ex.cbSize = sizeof ex;
  ex.style = wc->style;
  ex.lpfnWndProc = wc->lpfnWndProc;
  ex.cbClsExtra = wc->cbClsExtra;
  ex.cbWndExtra = wc->cbWndExtra;
  ex.hInstance = wc->hInstance;
  ex.hIcon = wc->hIcon;
  ex.hCursor = wc->hCursor;
  ex.hbrBackground = wc->hbrBackground;
  ex.lpszMenuName = wc->lpszMenuName;
  ex.lpszClassName = wc->lpszClassName;
  return RegisterClassExA(&ex);
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE) {
  auto cls = platform::user::FindClass(className);
  if (!cls) return FALSE;
  // Windows of the class keep their shared reference, so unregistering
  // while some exist cannot leave them dangling.
  platform::user::classes().byKey.erase(cls->key);
  return TRUE;
}

BOOL GetClassInfoExA(HINSTANCE, LPCSTR className, LPWNDCLASSEXA out) {
  auto cls = platform::user::FindClass(className);
  if (!cls || !out) return FALSE;
  *out = WNDCLASSEXA{};
  out->cbSize = sizeof *out;
  out->style = cls->style;
  out->lpfnWndProc = cls->proc;
  out->cbClsExtra = cls->cbClsExtra;
  out->cbWndExtra = cls->cbWndExtra;
  out->hInstance = cls->instance;
  out->hCursor = cls->cursor;
  out->hbrBackground = cls->background;
  out->lpszClassName = cls->name.c_str();
  return TRUE;
}

int GetClassNameA(HWND hwnd, LPSTR buf, int maxCount) {
  auto* w = platform::user::FromHandle(hwnd);
  if (!w || !buf || maxCount <= 0) return 0;
  // Like Win32: at most maxCount - 1 characters, and the NUL always lands
  // inside the buffer.
  std::size_t n = std::min<std::size_t>(w->cls->name.size(), static_cast<std::size_t>(maxCount - 1));
  std::memcpy(buf, w->cls->name.data(), n);
  buf[n] = '\0';
  return static_cast<int>(n);
}

DWORD GetClassLongA(HWND hwnd, int index) {
  auto* w = platform::user::FromHandle(hwnd);
  if (!w) return 0;
  switch (index) {
    case -26:  // GCL_STYLE
      return w->cls->style;
    case -18:  // GCL_CBWNDEXTRA
      return static_cast<DWORD>(w->cls->cbWndExtra);
    case -32:  // GCW_ATOM
      return w->cls->atom;
    default:
      return 0;
  }
}
