// SDL key codes to Win32 virtual-key codes.
#pragma once

#include <SDL.h>

#include "platform/win32.h"

namespace platform::backend {

// 0 for keys the program has no use for.
UINT VirtualKeyFromSdl(SDL_Keycode key);

}  // namespace platform::backend
