// Copying changed pixels to a window surface, each layer pixel shown as an
// s×s block of screen pixels (the HiDPI scale; s = 1 is a plain copy).
#pragma once

#include <cstdint>

#include "platform/gdi/pixel_buffer.h"

namespace platform::backend {

// Copies the rectangle r of src, which must lie inside src, to dst: rows of
// pitchBytes holding 32-bit pixels of src's layout (x8r8g8b8), dst pointing
// at where r's top-left pixel goes. Writes (r's size × scale) pixels.
void CopyScaled(const gdi::PixelBuffer& src, const RECT& r, void* dst, int pitchBytes, int scale);

}  // namespace platform::backend
