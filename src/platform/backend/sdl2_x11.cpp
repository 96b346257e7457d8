#include "platform/backend/sdl2_x11.h"

#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <dlfcn.h>

namespace platform::backend {
namespace {

// The handle is kept: it only counts a reference to a library SDL keeps
// loaded for the whole run.
void* Xlib() {
  static void* const lib = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
  return lib;
}

template <class F>
F XlibFunction(const char* name) {
  void* lib = Xlib();
  return lib ? reinterpret_cast<F>(dlsym(lib, name)) : nullptr;
}

}  // namespace

void WriteUtf8WmName(SDL_Window* window, const std::string& title) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
  using InternAtom = Atom (*)(Display*, const char*, Bool);
  using ChangeProperty = int (*)(Display*, ::Window, Atom, Atom, int, int, const unsigned char*, int);
  using Flush = int (*)(Display*);
  auto intern = XlibFunction<InternAtom>("XInternAtom");
  auto change = XlibFunction<ChangeProperty>("XChangeProperty");
  auto flush = XlibFunction<Flush>("XFlush");
  if (!intern || !change || !flush) return;
  Display* d = info.info.x11.display;
  const Atom utf8 = intern(d, "UTF8_STRING", False);
  change(d, info.info.x11.window, XA_WM_NAME, utf8, 8, PropModeReplace,
         reinterpret_cast<const unsigned char*>(title.data()), static_cast<int>(title.size()));
  flush(d);
}

std::string XResourceText() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver || SDL_strcmp(driver, "x11") != 0) return {};
  using OpenDisplay = Display* (*)(const char*);
  using ResourceManagerString = char* (*)(Display*);
  using CloseDisplay = int (*)(Display*);
  auto open = XlibFunction<OpenDisplay>("XOpenDisplay");
  auto resources = XlibFunction<ResourceManagerString>("XResourceManagerString");
  auto close = XlibFunction<CloseDisplay>("XCloseDisplay");
  if (!open || !resources || !close) return {};
  Display* d = open(nullptr);
  if (!d) return {};
  const char* text = resources(d);  // owned by the connection
  std::string copy = text ? text : "";
  close(d);
  return copy;
}

}  // namespace platform::backend
