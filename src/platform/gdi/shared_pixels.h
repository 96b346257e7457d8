// Pixel storage the X server can read directly: a window surface kept in a
// System V shared memory segment is put on screen with MIT-SHM straight from
// where the layer drew it, with no copy and no second window-sized buffer.
// Storage of other pixel buffers, and window surfaces where no segment can
// be had, is ordinary memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace platform::gdi {

// Whether window surfaces go to shared memory: only when a screen that
// reads it is coming (the SDL backend on X11 says so before any window is
// made). Headless runs keep ordinary memory, which is cheaper to make and
// unmake. Off by default.
void UseSharedPixelsForScreens(bool use);
bool SharedPixelsForScreens();

// A segment of `bytes`, attached here and already marked for removal, so
// that it goes away with the last process that has it attached, whatever
// happens to this one. nullptr when the system has none to give.
void* AllocateSharedPixels(std::size_t bytes);
// Detaches storage from AllocateSharedPixels; false for other pointers.
bool FreeSharedPixels(void* p);
// The segment id of storage from AllocateSharedPixels, for the X server.
std::optional<int> SharedPixelsId(const void* p);

}  // namespace platform::gdi
