// System metrics, modules, cursors, the beep and the clipboard.
#include <cctype>
#include <cstring>
#include <string>

#include "platform/user/backend.h"
#include "platform/user/clipboard.h"
#include "platform/user/frame.h"
#include "platform/user/window.h"

namespace platform::user {
namespace {

// The layer's own modules stand in for the system libraries a Win32
// program probes. Each module handle is a live handle of kind Module.
struct Export {
  const char* name;
  FARPROC proc;
};

struct Module : HandleObject {
  std::string name;  // canonical, lower case, no ".dll"
  std::vector<Export> exports;
};

FARPROC AsFarProc(BOOL (*f)(LPTRACKMOUSEEVENT)) {
  // GetProcAddress hands out every export as FARPROC; callers cast back.
  return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(f));
}

std::vector<HMODULE>& modules() {
  static std::vector<HMODULE> m;
  if (m.empty()) {
    auto add = [](const char* name, std::vector<Export> exports) {
      auto mod = std::make_unique<Module>();
      mod->name = name;
      mod->exports = std::move(exports);
      // Part of the program for the whole run, like the stock objects: not
      // something a caller could leak.
      m.push_back(static_cast<HMODULE>(AllocPermanentHandle(HandleKind::Module, std::move(mod))));
    };
    add("user32", {{"TrackMouseEvent", AsFarProc(&TrackMouseEvent)}});
    add("comctl32", {{"_TrackMouseEvent", AsFarProc(&_TrackMouseEvent)}});
    add("kernel32", {});
    add("gdi32", {});
  }
  return m;
}

std::string CanonicalModuleName(const char* name) {
  std::string n = Lower(name);
  // Only the file name counts; a path or a ".dll" suffix does not.
  if (auto slash = n.find_last_of("\\/"); slash != std::string::npos) n = n.substr(slash + 1);
  if (n.size() > 4 && n.compare(n.size() - 4, 4, ".dll") == 0) n.resize(n.size() - 4);
  return n;
}

HMODULE FindModule(const char* name) {
  std::string want = CanonicalModuleName(name);
  for (HMODULE h : modules())
    if (auto* m = Lookup<Module>(h, HandleKind::Module); m && m->name == want) return h;
  return nullptr;
}

}  // namespace

std::string GetClipboardText() { return CurrentBackend().ClipboardText(); }

void SetClipboardText(const std::string& utf8) { CurrentBackend().SetClipboardText(utf8); }

void ShowCursorShape(HCURSOR cursor) {
  // The cursor handles are the IDC_* names themselves (LoadCursorA).
  const auto id = reinterpret_cast<std::uintptr_t>(cursor);
  CursorShape shape = CursorShape::Arrow;
  if (id == reinterpret_cast<std::uintptr_t>(IDC_IBEAM))
    shape = CursorShape::IBeam;
  else if (id == reinterpret_cast<std::uintptr_t>(IDC_WAIT))
    shape = CursorShape::Wait;
  else if (id == reinterpret_cast<std::uintptr_t>(IDC_HAND))
    shape = CursorShape::Hand;
  CurrentBackend().SetCursorShape(shape);
}

}  // namespace platform::user

using namespace platform::user;

int GetSystemMetrics(int index) {
  const SIZE screen = CurrentBackend().ScreenSize();
  switch (index) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN:
    case SM_CXVIRTUALSCREEN:
      return screen.cx;
    case SM_CYSCREEN:
    case SM_CYFULLSCREEN:
    case SM_CYVIRTUALSCREEN:
      return screen.cy;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
      return kScrollBarSize;
    case SM_CYCAPTION:
      return kCaptionHeight;
    case SM_CXBORDER:
    case SM_CYBORDER:
      return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
      return kDlgFrameSize;
    case SM_CXFRAME:
    case SM_CYFRAME:
      return kFrameSize;
    case SM_CXEDGE:
    case SM_CYEDGE:
      return 2;
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK:
      return 13;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
      return 4;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
      return 32;
    case SM_CYMENU:
      return 19;
    case SM_CXSIZE:
    case SM_CYSIZE:
      return 18;
    case SM_CYSMCAPTION:
      return 15;
    case SM_CXMIN:
      return 112;
    case SM_CYMIN:
      return 27;
    case SM_CMOUSEBUTTONS:
      return 3;
    case SM_MOUSEWHEELPRESENT:
    case SM_CMONITORS:
      return 1;
    default:
      return 0;
  }
}

HMODULE GetModuleHandleA(LPCSTR name) {
  // NULL names the program itself; the core modules are always "loaded".
  if (!name) return modules().front();
  return FindModule(name);
}

HMODULE LoadLibraryA(LPCSTR name) { return name ? FindModule(name) : nullptr; }

FARPROC GetProcAddress(HMODULE module, LPCSTR name) {
  auto* m = platform::Lookup<Module>(module, platform::HandleKind::Module);
  if (!m || !name || IS_INTRESOURCE(name)) return nullptr;
  for (const Export& e : m->exports)
    if (std::strcmp(e.name, name) == 0) return e.proc;
  return nullptr;
}

BOOL FreeLibrary(HMODULE module) {
  // The modules are part of the program and never unload.
  return platform::Lookup<Module>(module, platform::HandleKind::Module) ? TRUE : FALSE;
}

HCURSOR LoadCursorA(HINSTANCE, LPCSTR name) {
  // Cursor shapes are left to the desktop; a non-null token keeps callers
  // that check the result happy.
  return reinterpret_cast<HCURSOR>(const_cast<char*>(name));
}

HCURSOR SetCursor(HCURSOR cursor) {
  static HCURSOR current = nullptr;
  HCURSOR old = current;
  current = cursor;
  ShowCursorShape(cursor);
  return old;
}

BOOL MessageBeep(UINT) { return TRUE; }
