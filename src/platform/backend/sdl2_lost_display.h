// What the program does when the X server goes away under it.
#pragma once

namespace platform::backend {

// On X11, ends the process at once with status 1 when the connection to the
// display breaks. Elsewhere it does nothing. Call once, after SDL_Init.
void EndProcessOnLostDisplay();

// Where Xlib is loaded, reports X protocol errors and goes on instead of
// ending the process on them. Call once, before SDL_Init.
void ReportProtocolErrors();

}  // namespace platform::backend
