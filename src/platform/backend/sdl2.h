// The SDL2 screen: every visible top-level window becomes a real window on
// the desktop. SDL takes long to start; the program builds and paints its
// first windows meanwhile, on a headless screen of the real screen's size,
// and they appear complete when the SDL screen is attached:
//
//   platform::PrepareSdl2Screen();          // a quick look: screen size, HiDPI scale
//   std::thread build([] { ... create, show and paint windows ... });
//   bool up = platform::StartSdl2();        // touches no window
//   build.join();
//   if (!up) { report SDL_GetError(); exit }
//   platform::AttachStartedSdl2();
//   MSG m; while (GetMessageA(&m, nullptr, 0, 0)) { TranslateMessage(&m); DispatchMessageA(&m); }
//   platform::DetachSdl2Backend();
//
// AttachSdl2Backend() takes the three steps at once.
#pragma once

namespace platform {

// Looks at the display (its first screen's size, its X resources), picks the
// HiDPI scale and attaches a headless screen of the size windows will see,
// and starts the font look-up. Call before any window exists.
void PrepareSdl2Screen();
// Initialises SDL video; false (with SDL_GetError set) when there is no
// display. Touches no window: another thread may build windows meanwhile.
bool StartSdl2();
// Attaches the started SDL screen; windows built before it appear on it.
void AttachStartedSdl2();

bool AttachSdl2Backend();
// Destroys the SDL windows and shuts SDL down; the layer is headless again.
void DetachSdl2Backend();

}  // namespace platform
