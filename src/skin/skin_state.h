// The engine's module state: one instance for the whole program, on the GUI thread only.
#pragma once

#include <cstdint>

#include "platform/win32.h"
#include "skin/skin_types.h"

namespace skin {

// The shared resources (skin bitmaps) exist.
extern VbBool SkinReady;
// user32 exports TrackMouseEvent; otherwise the common-controls fallback is used.
extern VbBool HasTrackMouseEvent;
// Windows currently subclassed by the engine.
extern std::int32_t SkinnedCount;

// Memory DCs holding the five built-in skin bitmaps; 0 while absent or when creation failed.
extern HDC ButtonSkinDC;
extern HDC ComboSkinDC;
extern HDC MarkSkinDC;
extern HDC BoxSkinDC;
extern HDC HeaderSkinDC;

}  // namespace skin
