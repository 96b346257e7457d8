// Putting laid-out glyphs on a device context: coverage masks, prefix and
// font underlines, strike-out and the opaque background, all cut to an
// optional clip rectangle in logical coordinates.
#pragma once

#include <optional>
#include <vector>

#include "platform/gdi/font_engine.h"
#include "platform/gdi/text_layout.h"
#include "platform/win32/base.h"

namespace platform::gdi {

struct TextPaint {
  HDC dc = nullptr;
  RealizedFont* font = nullptr;
  COLORREF color = 0;
  std::optional<RECT> clip;  // logical; nullopt draws unclipped (the DC still clips)
  bool glyphs = true;        // false: underlines only (DT_PREFIXONLY)
};

// Draws glyphs whose pens sit at originX + glyph.x on the given baseline;
// underlines the glyphs marked by a prefix, and the whole run when the font
// itself is underlined or struck out.
void PaintGlyphRun(const TextPaint& paint, int originX, int baseline, const std::vector<PlacedGlyph>& glyphs);

// Solid fill cut to the clip rectangle.
void PaintFill(const TextPaint& paint, RECT r, COLORREF color);

}  // namespace platform::gdi
