#include "platform/backend/sdl2_x11.h"

#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>
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

namespace {

// The primary monitor's size through RandR, as SDL orders its displays: the
// primary output first, else the first output that shows something.
bool PrimaryMonitorSize(Display* d, int* width, int* height) {
  void* randr = dlopen("libXrandr.so.2", RTLD_NOW | RTLD_NOLOAD);
  if (!randr) return false;
  using GetResources = XRRScreenResources* (*)(Display*, ::Window);
  using GetPrimary = RROutput (*)(Display*, ::Window);
  using GetOutput = XRROutputInfo* (*)(Display*, XRRScreenResources*, RROutput);
  using GetCrtc = XRRCrtcInfo* (*)(Display*, XRRScreenResources*, RRCrtc);
  using FreeResources = void (*)(XRRScreenResources*);
  using FreeOutput = void (*)(XRROutputInfo*);
  using FreeCrtc = void (*)(XRRCrtcInfo*);
  auto resources = reinterpret_cast<GetResources>(dlsym(randr, "XRRGetScreenResourcesCurrent"));
  auto primary = reinterpret_cast<GetPrimary>(dlsym(randr, "XRRGetOutputPrimary"));
  auto output = reinterpret_cast<GetOutput>(dlsym(randr, "XRRGetOutputInfo"));
  auto crtc = reinterpret_cast<GetCrtc>(dlsym(randr, "XRRGetCrtcInfo"));
  auto freeResources = reinterpret_cast<FreeResources>(dlsym(randr, "XRRFreeScreenResources"));
  auto freeOutput = reinterpret_cast<FreeOutput>(dlsym(randr, "XRRFreeOutputInfo"));
  auto freeCrtc = reinterpret_cast<FreeCrtc>(dlsym(randr, "XRRFreeCrtcInfo"));
  bool found = false;
  if (resources && primary && output && crtc && freeResources && freeOutput && freeCrtc) {
    const ::Window root = DefaultRootWindow(d);
    if (XRRScreenResources* res = resources(d, root)) {
      const RROutput first = primary(d, root);
      for (int pass = 0; pass < 2 && !found; ++pass)
        for (int i = 0; i < res->noutput && !found; ++i) {
          if (pass == 0 && res->outputs[i] != first) continue;
          XRROutputInfo* info = output(d, res, res->outputs[i]);
          if (info && info->crtc) {
            if (XRRCrtcInfo* c = crtc(d, res, info->crtc)) {
              if (c->width > 0 && c->height > 0) {
                const bool turned = (c->rotation & (RR_Rotate_90 | RR_Rotate_270)) != 0;
                *width = static_cast<int>(turned ? c->height : c->width);
                *height = static_cast<int>(turned ? c->width : c->height);
                found = true;
              }
              freeCrtc(c);
            }
          }
          if (info) freeOutput(info);
        }
      freeResources(res);
    }
  }
  dlclose(randr);
  return found;
}

}  // namespace

std::optional<X11ScreenLook> LookAtX11Screen() {
  using OpenDisplay = Display* (*)(const char*);
  using ResourceManagerString = char* (*)(Display*);
  using CloseDisplay = int (*)(Display*);
  auto open = XlibFunction<OpenDisplay>("XOpenDisplay");
  auto resources = XlibFunction<ResourceManagerString>("XResourceManagerString");
  auto close = XlibFunction<CloseDisplay>("XCloseDisplay");
  if (!open || !resources || !close) return std::nullopt;
  Display* d = open(nullptr);
  if (!d) return std::nullopt;
  X11ScreenLook look;
  if (!PrimaryMonitorSize(d, &look.width, &look.height)) {
    const Screen* s = DefaultScreenOfDisplay(d);
    look.width = s->width;
    look.height = s->height;
  }
  const char* text = resources(d);  // owned by the connection
  look.resources = text ? text : "";
  close(d);
  return look;
}

}  // namespace platform::backend
