#include "platform/backend/sdl2_lost_display.h"

#include <SDL.h>
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform::backend {
namespace {

// Xlib's own ending after a broken connection calls exit(), whose static
// destructors tear the SDL windows down through the dead connection; SDL then
// waits in Xlib for a reply that never comes, spinning a core. Nothing is
// left to save (a save is written and renamed before the next X call), so
// the process ends here without running those destructors.
int OnDisplayIoError(Display*) {
  static constexpr char kMessage[] = "huiwenfang: the display went away\n";
  ssize_t ignored = write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
  (void)ignored;
  std::_Exit(1);
}

// Xlib's own handler ends the process on any protocol error. SDL wakes its
// event wait by sending an event to one of its windows over a second
// connection, and that event can reach the server just after the window was
// destroyed: a BadWindow that harms nothing. Other errors are reported and
// the program goes on, as with any failed call.
int OnProtocolError(Display*, XErrorEvent* e) {
  if (e->error_code == BadWindow) return 0;
  char message[96];
  const int n = std::snprintf(message, sizeof message, "huiwenfang: X error %d on request %d.%d\n",
                              e->error_code, e->request_code, e->minor_code);
  ssize_t ignored = write(STDERR_FILENO, message, static_cast<std::size_t>(std::max(n, 0)));
  (void)ignored;
  return 0;
}

}  // namespace

void EndProcessOnLostDisplay() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver || std::strcmp(driver, "x11") != 0) return;
  // SDL loads Xlib itself, so the program does not link it: look it up in the
  // copy SDL already has.
  void* xlib = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
  if (!xlib) return;
  using SetIoErrorHandler = XIOErrorHandler (*)(XIOErrorHandler);
  if (auto set = reinterpret_cast<SetIoErrorHandler>(dlsym(xlib, "XSetIOErrorHandler")))
    set(OnDisplayIoError);
  // The handle only counted a reference to a library that stays loaded.
  dlclose(xlib);
}

void ReportProtocolErrors() {
  // SDL's library links Xlib, so it is loaded before SDL starts. SDL puts
  // back the handler it found when it shuts down, just before its last
  // reads from the server: the one found must be this one.
  void* xlib = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
  if (!xlib) return;
  using SetErrorHandler = XErrorHandler (*)(XErrorHandler);
  if (auto set = reinterpret_cast<SetErrorHandler>(dlsym(xlib, "XSetErrorHandler"))) set(OnProtocolError);
  dlclose(xlib);
}

}  // namespace platform::backend
