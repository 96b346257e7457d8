#include "platform/backend/x11_shm.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <dlfcn.h>

#include <algorithm>
#include <optional>
#include <type_traits>

#include "platform/gdi/shared_pixels.h"

namespace platform::backend {

struct X11ShmPresenter::Xlib {
  Status (*getWindowAttributes)(Display*, ::Window, XWindowAttributes*);
  GC (*createGC)(Display*, Drawable, unsigned long, XGCValues*);
  int (*freeGC)(Display*, GC);
  int (*sync)(Display*, Bool);
  XErrorHandler (*setErrorHandler)(XErrorHandler);
  Bool (*shmQueryExtension)(Display*);
  Bool (*shmAttach)(Display*, XShmSegmentInfo*);
  Bool (*shmDetach)(Display*, XShmSegmentInfo*);
  XImage* (*shmCreateImage)(Display*, Visual*, unsigned int, int, char*, XShmSegmentInfo*, unsigned int,
                            unsigned int);
  Bool (*shmPutImage)(Display*, Drawable, GC, XImage*, int, int, int, int, unsigned int, unsigned int, Bool);
};

namespace {

// SDL links Xlib and its extension library, so both are loaded; the handles
// only count references to libraries that stay.
const X11ShmPresenter::Xlib* LoadXlib() {
  static const X11ShmPresenter::Xlib* const loaded = []() -> const X11ShmPresenter::Xlib* {
    void* x11 = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
    void* xext = dlopen("libXext.so.6", RTLD_NOW | RTLD_NOLOAD);
    if (!x11 || !xext) return nullptr;
    static X11ShmPresenter::Xlib x;
    auto get = [](void* lib, auto& fn, const char* name) {
      fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(dlsym(lib, name));
      return fn != nullptr;
    };
    const bool all = get(x11, x.getWindowAttributes, "XGetWindowAttributes") &&
                     get(x11, x.createGC, "XCreateGC") && get(x11, x.freeGC, "XFreeGC") &&
                     get(x11, x.sync, "XSync") && get(x11, x.setErrorHandler, "XSetErrorHandler") &&
                     get(xext, x.shmQueryExtension, "XShmQueryExtension") &&
                     get(xext, x.shmAttach, "XShmAttach") && get(xext, x.shmDetach, "XShmDetach") &&
                     get(xext, x.shmCreateImage, "XShmCreateImage") &&
                     get(xext, x.shmPutImage, "XShmPutImage");
    return all ? &x : nullptr;
  }();
  return loaded;
}

// Whether the server refused what was sent since the last sync; set by a
// handler that stands in only around the attach.
bool g_refused = false;
int NoteRefusal(Display*, XErrorEvent*) {
  g_refused = true;
  return 0;
}

}  // namespace

std::unique_ptr<X11ShmPresenter> X11ShmPresenter::For(SDL_Window* window) {
  const Xlib* x = LoadXlib();
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!x || !window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return nullptr;
  Display* d = info.info.x11.display;
  XWindowAttributes a;
  if (!x->shmQueryExtension(d) || !x->getWindowAttributes(d, info.info.x11.window, &a)) return nullptr;
  // The layer's pixels are 0x00RRGGBB in 32 bits.
  const Visual* v = a.visual;
  if (a.depth != 24 || !v || v->red_mask != 0xFF0000 || v->green_mask != 0xFF00 || v->blue_mask != 0xFF)
    return nullptr;
  std::unique_ptr<X11ShmPresenter> p(new X11ShmPresenter);
  p->x_ = x;
  p->display_ = d;
  p->window_ = info.info.x11.window;
  p->visual_ = a.visual;
  p->depth_ = a.depth;
  p->gc_ = x->createGC(d, info.info.x11.window, 0, nullptr);
  if (!p->gc_) return nullptr;
  return p;
}

X11ShmPresenter::~X11ShmPresenter() {
  Detach();
  if (gc_) x_->freeGC(static_cast<Display*>(display_), static_cast<GC>(gc_));
}

bool X11ShmPresenter::Attach(const gdi::PixelBuffer& pixels, int shmid) {
  Detach();
  Display* d = static_cast<Display*>(display_);
  auto* seg = new XShmSegmentInfo{};
  seg->shmid = shmid;
  seg->shmaddr = reinterpret_cast<char*>(const_cast<std::uint32_t*>(pixels.pixels.data()));
  seg->readOnly = True;
  XImage* image = x_->shmCreateImage(d, static_cast<Visual*>(visual_), static_cast<unsigned>(depth_), ZPixmap,
                                     seg->shmaddr, seg, static_cast<unsigned>(pixels.width),
                                     static_cast<unsigned>(pixels.height));
  if (!image || image->bits_per_pixel != 32 || image->bytes_per_line != pixels.width * 4 ||
      image->byte_order != LSBFirst) {
    if (image) {
      image->data = nullptr;  // the layer's pixels are not the image's to free
      XDestroyImage(image);
    }
    delete seg;
    return false;
  }
  // The segment is already marked for removal: a server that does not let
  // a client's removed segment be attached says so here.
  x_->sync(d, False);
  g_refused = false;
  XErrorHandler previous = x_->setErrorHandler(NoteRefusal);
  x_->shmAttach(d, seg);
  x_->sync(d, False);
  x_->setErrorHandler(previous);
  if (g_refused) {
    failed_ = true;
    image->data = nullptr;
    XDestroyImage(image);
    delete seg;
    return false;
  }
  image_ = image;
  segment_ = seg;
  shmid_ = shmid;
  attached_ = pixels.pixels.data();
  width_ = pixels.width;
  height_ = pixels.height;
  return true;
}

void X11ShmPresenter::Detach() {
  if (!segment_) return;
  Display* d = static_cast<Display*>(display_);
  auto* seg = static_cast<XShmSegmentInfo*>(segment_);
  x_->shmDetach(d, seg);
  x_->sync(d, False);
  auto* image = static_cast<XImage*>(image_);
  image->data = nullptr;
  XDestroyImage(image);
  delete seg;
  image_ = segment_ = nullptr;
  attached_ = nullptr;
  shmid_ = -1;
}

bool X11ShmPresenter::Present(const gdi::PixelBuffer& pixels, std::span<const RECT> dirty) {
  if (failed_) return false;
  const std::optional<int> id = gdi::SharedPixelsId(pixels.pixels.data());
  if (!id) return false;
  if (attached_ != pixels.pixels.data() || *id != shmid_ || width_ != pixels.width ||
      height_ != pixels.height)
    if (!Attach(pixels, *id)) return false;
  Display* d = static_cast<Display*>(display_);
  for (const RECT& r : dirty) {
    const int left = std::max<int>(r.left, 0), top = std::max<int>(r.top, 0);
    const int right = std::min<int>(r.right, width_), bottom = std::min<int>(r.bottom, height_);
    if (right <= left || bottom <= top) continue;
    x_->shmPutImage(d, window_, static_cast<GC>(gc_), static_cast<XImage*>(image_), left, top, left, top,
                    static_cast<unsigned>(right - left), static_cast<unsigned>(bottom - top), False);
  }
  // The server reads the pixels when it carries out the request; the layer
  // must not draw over them before.
  x_->sync(d, False);
  return true;
}

}  // namespace platform::backend
