// What the program does when the X server goes away under it.
#pragma once

namespace platform::backend {

// On X11, ends the process at once with status 1 when the connection to the
// display breaks, and reports protocol errors instead of ending on them.
// Elsewhere it does nothing. Call once, after SDL_Init.
void EndProcessOnLostDisplay();

}  // namespace platform::backend
