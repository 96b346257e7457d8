// Which of SDL's video drivers may carry the program's windows.
#pragma once

namespace platform::backend {

// False when SDL chose a driver that shows nothing ("offscreen", "dummy")
// without the user asking for it in SDL_VIDEODRIVER (`requested`, a name or
// a comma-separated list, any case; null when unset). SDL 2 falls back to
// such a driver when it finds no display, and a window program would then
// run on where nobody can see or end it.
bool ScreenIsVisible(const char* driver, const char* requested);

}  // namespace platform::backend
