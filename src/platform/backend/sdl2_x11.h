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

// What the window manager is told about a window beyond what SDL tells it.
// A window owned by another is a dialog (_NET_WM_WINDOW_TYPE_DIALOG): kept
// above its owner, placed on it, left out of task lists. Call before the
// window is first shown.
void MarkAsDialog(SDL_Window* window);
// The frame's buttons and menu (_MOTIF_WM_HINTS): move and close, minimise
// only when `minimize`; never resize or maximise, since every window of the
// program has a fixed size. The decorations stay.
void LimitFrameFunctions(SDL_Window* window, bool minimize);
// Adds or removes _NET_WM_STATE_MODAL: a window on the screen asks the
// window manager, which owns the property then; a hidden one writes it.
void SetModalState(SDL_Window* window, bool modal, bool shown);
// Puts a window the manager does not manage (a drop-down list) above every
// other window.
void RaiseAboveAll(SDL_Window* window);

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
