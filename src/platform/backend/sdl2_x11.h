// What the SDL backend does on X11 beyond what SDL offers. Off X11 each call
// does nothing. SDL loads Xlib itself, so the program does not link it: the
// functions are looked up in the copy SDL already has.
#pragma once

#include <SDL.h>

#include <string>

namespace platform::backend {

// Writes the window's WM_NAME as UTF8_STRING. SDL writes it in the encoding
// of the locale, which under a UTF-8 locale carries the type "UTF-8": no
// standard encoding, so tools and window managers that read WM_NAME cannot
// decode it. _NET_WM_NAME, which SDL writes as UTF8_STRING, stays as it is.
void WriteUtf8WmName(SDL_Window* window, const std::string& title);

// The text of the display's X resources (the RESOURCE_MANAGER property that
// xrdb loads), "" when there are none. Opens a connection of its own: SDL
// does not hand out its display before a window exists.
std::string XResourceText();

}  // namespace platform::backend
