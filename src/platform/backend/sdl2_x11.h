// What the SDL backend does on X11 beyond what SDL offers. Off X11 each call
// does nothing. SDL loads Xlib itself, so the program does not link it: the
// functions are looked up in the copy SDL already has.
#pragma once

#include <SDL.h>

#include <optional>
#include <string>

namespace platform::backend {

// Writes the window's WM_NAME as UTF8_STRING. SDL writes it in the encoding
// of the locale, which under a UTF-8 locale carries the type "UTF-8": no
// standard encoding, so tools and window managers that read WM_NAME cannot
// decode it. _NET_WM_NAME, which SDL writes as UTF8_STRING, stays as it is.
void WriteUtf8WmName(SDL_Window* window, const std::string& title);

// A quick look at the X display before SDL starts (SDL takes much longer to
// open it): the size of the screen SDL will call its first display (the
// primary monitor's, where RandR tells it) and the text of the X resources
// (the RESOURCE_MANAGER property that xrdb loads, "" when there are none).
struct X11ScreenLook {
  int width = 0;
  int height = 0;
  std::string resources;
};
// nullopt when Xlib is not loaded or the display cannot be opened.
std::optional<X11ScreenLook> LookAtX11Screen();

}  // namespace platform::backend
