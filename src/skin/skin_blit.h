// Copies out of the skin bitmaps: the nine-slice frame copy and the key-colour transparent copy.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/win32.h"

namespace skin {

// Nine-slice copy of the source rectangle (sx, sy, sw, sh) onto (x, y, w, h) of dest: corners of
// L x T, R x T, L x B, R x B are copied as they are, edges and centre stretched. With every margin
// 0 or less the source is stretched as a whole. With a key colour, the assembled picture is laid
// over dest transparently. Returns 0 when nothing was drawn (a zero size, a temporary DC that
// could not be made, coordinates beyond 32 bits), else non-zero.
std::int32_t DrawSkinFrame(HDC dest, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, HDC src,
                           std::int32_t sx, std::int32_t sy, std::int32_t sw, std::int32_t sh, std::int32_t L,
                           std::int32_t T, std::int32_t R, std::int32_t B,
                           std::optional<COLORREF> key = std::nullopt);

// Copies w x h of src at (sx, sy) onto dest at (x, y), leaving dest alone wherever the source has
// the key colour. palette 0: a halftone palette of the display is used. dest is left untouched when
// the source cannot be read or a work buffer cannot be made.
void TransparentCopy(HDC dest, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, HDC src,
                     std::int32_t sx, std::int32_t sy, COLORREF key, HPALETTE palette);

}  // namespace skin
