// The SDL2 screen: every visible top-level window becomes a real window on
// the desktop. What main.cpp calls before creating its first window:
//
//   if (!platform::AttachSdl2Backend()) { report SDL_GetError(); exit }
//   ... create windows ...
//   MSG m; while (GetMessageA(&m, nullptr, 0, 0)) { TranslateMessage(&m); DispatchMessageA(&m); }
//   platform::DetachSdl2Backend();
#pragma once

namespace platform {

// Initialises SDL video and attaches the backend; false (with SDL_GetError
// set) when there is no display.
bool AttachSdl2Backend();
// Destroys the SDL windows and shuts SDL down; the layer is headless again.
void DetachSdl2Backend();

}  // namespace platform
