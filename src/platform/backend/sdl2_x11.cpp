#include "platform/backend/sdl2_x11.h"

#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>
#include <dlfcn.h>

#include <vector>

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

// The X window behind an SDL window and the Xlib calls made on it.
struct X11Window {
  using InternAtom = Atom (*)(Display*, const char*, Bool);
  using ChangeProperty = int (*)(Display*, ::Window, Atom, Atom, int, int, const unsigned char*, int);
  using GetProperty = int (*)(Display*, ::Window, Atom, long, long, Bool, Atom, Atom*, int*, unsigned long*,
                              unsigned long*, unsigned char**);
  using DeleteProperty = int (*)(Display*, ::Window, Atom);
  using SendEvent = Status (*)(Display*, ::Window, Bool, long, XEvent*);
  using RaiseWindow = int (*)(Display*, ::Window);
  using Free = int (*)(void*);
  using Flush = int (*)(Display*);

  Display* display = nullptr;
  ::Window window = 0;
  InternAtom intern = XlibFunction<InternAtom>("XInternAtom");
  ChangeProperty change = XlibFunction<ChangeProperty>("XChangeProperty");
  GetProperty get = XlibFunction<GetProperty>("XGetWindowProperty");
  DeleteProperty remove = XlibFunction<DeleteProperty>("XDeleteProperty");
  SendEvent send = XlibFunction<SendEvent>("XSendEvent");
  RaiseWindow raise = XlibFunction<RaiseWindow>("XRaiseWindow");
  Free free = XlibFunction<Free>("XFree");
  Flush flush = XlibFunction<Flush>("XFlush");

  // nullopt off X11 or when Xlib lacks a call.
  static std::optional<X11Window> Of(SDL_Window* sdl) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!sdl || !SDL_GetWindowWMInfo(sdl, &info) || info.subsystem != SDL_SYSWM_X11) return std::nullopt;
    X11Window x;
    if (!x.intern || !x.change || !x.get || !x.remove || !x.send || !x.raise || !x.free || !x.flush)
      return std::nullopt;
    x.display = info.info.x11.display;
    x.window = info.info.x11.window;
    return x;
  }

  Atom AtomOf(const char* name) const { return intern(display, name, False); }

  void Write(Atom property, Atom type, int format, const void* data, int count) const {
    change(display, window, property, type, format, PropModeReplace, static_cast<const unsigned char*>(data),
           count);
  }

  // The atoms of an ATOM-typed property, empty when it is missing.
  std::vector<Atom> ReadAtoms(Atom property) const {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<Atom> atoms;
    if (get(display, window, property, 0, 64, False, XA_ATOM, &type, &format, &count, &after, &data) ==
            Success &&
        data && type == XA_ATOM && format == 32) {
      const auto* a = reinterpret_cast<const long*>(data);  // format 32 comes as longs
      atoms.assign(a, a + count);
    }
    if (data) free(data);
    return atoms;
  }
};

}  // namespace

void WriteUtf8WmName(SDL_Window* window, const std::string& title) {
  auto x = X11Window::Of(window);
  if (!x) return;
  x->Write(XA_WM_NAME, x->AtomOf("UTF8_STRING"), 8, title.data(), static_cast<int>(title.size()));
  x->flush(x->display);
}

void MarkAsDialog(SDL_Window* window) {
  auto x = X11Window::Of(window);
  if (!x) return;
  // Replaces SDL's NORMAL; the manager reads the type when the window maps.
  const long type = static_cast<long>(x->AtomOf("_NET_WM_WINDOW_TYPE_DIALOG"));
  x->Write(x->AtomOf("_NET_WM_WINDOW_TYPE"), XA_ATOM, 32, &type, 1);
  x->flush(x->display);
}

void LimitFrameFunctions(SDL_Window* window, bool minimize) {
  auto x = X11Window::Of(window);
  if (!x) return;
  // The Motif hints: flags, functions, decorations, input mode, status.
  constexpr long kFunctions = 1L << 0, kDecorations = 1L << 1;
  constexpr long kMove = 1L << 2, kMinimize = 1L << 3, kClose = 1L << 5;
  constexpr long kAllDecorations = 1L << 0;
  const long hints[5] = {kFunctions | kDecorations, kMove | kClose | (minimize ? kMinimize : 0),
                         kAllDecorations, 0, 0};
  const Atom motif = x->AtomOf("_MOTIF_WM_HINTS");
  x->Write(motif, motif, 32, hints, 5);
  x->flush(x->display);
}

void SetModalState(SDL_Window* window, bool modal, bool shown) {
  auto x = X11Window::Of(window);
  if (!x) return;
  const Atom state = x->AtomOf("_NET_WM_STATE"), modalAtom = x->AtomOf("_NET_WM_STATE_MODAL");
  if (shown) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = x->window;
    e.xclient.message_type = state;
    e.xclient.format = 32;
    e.xclient.data.l[0] = modal ? 1 : 0;  // _NET_WM_STATE_ADD, _NET_WM_STATE_REMOVE
    e.xclient.data.l[1] = static_cast<long>(modalAtom);
    e.xclient.data.l[3] = 1;  // from an application
    x->send(x->display, DefaultRootWindow(x->display), False,
            SubstructureNotifyMask | SubstructureRedirectMask, &e);
  } else {
    // Other states SDL wrote (such as skipping the task bar) stay.
    std::vector<Atom> atoms = x->ReadAtoms(state);
    std::erase(atoms, modalAtom);
    if (modal) atoms.push_back(modalAtom);
    std::vector<long> values(atoms.begin(), atoms.end());
    if (values.empty())
      x->remove(x->display, x->window, state);
    else
      x->Write(state, XA_ATOM, 32, values.data(), static_cast<int>(values.size()));
  }
  x->flush(x->display);
}

void RaiseAboveAll(SDL_Window* window) {
  auto x = X11Window::Of(window);
  if (!x) return;
  x->raise(x->display, x->window);
  x->flush(x->display);
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
