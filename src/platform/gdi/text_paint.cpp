#include "platform/gdi/text_paint.h"

#include <algorithm>

#include "platform/gdi/dc_access.h"

namespace platform::gdi {
namespace {

bool Intersect(RECT* r, const RECT& clip) {
  r->left = std::max(r->left, clip.left);
  r->top = std::max(r->top, clip.top);
  r->right = std::min(r->right, clip.right);
  r->bottom = std::min(r->bottom, clip.bottom);
  return r->left < r->right && r->top < r->bottom;
}

void PaintGlyph(const TextPaint& paint, const GlyphImage& g, int penX, int baseline) {
  if (g.width <= 0 || g.height <= 0) return;
  RECT box{penX + g.left, baseline - g.top, penX + g.left + g.width, baseline - g.top + g.height};
  RECT visible = box;
  if (paint.clip && !Intersect(&visible, *paint.clip)) return;
  const int dx = visible.left - box.left;
  const int dy = visible.top - box.top;
  const std::uint8_t* first = g.coverage.data() + static_cast<std::size_t>(dy) * g.width + dx;
  BlendCoverage(paint.dc, visible.left, visible.top, visible.right - visible.left,
                visible.bottom - visible.top, first, g.width, paint.color);
}

}  // namespace

void PaintFill(const TextPaint& paint, RECT r, COLORREF color) {
  if (r.left >= r.right || r.top >= r.bottom) return;
  if (paint.clip && !Intersect(&r, *paint.clip)) return;
  FillSolid(paint.dc, r, color);
}

void PaintGlyphRun(const TextPaint& paint, int originX, int baseline,
                   const std::vector<PlacedGlyph>& glyphs) {
  if (paint.font == nullptr || glyphs.empty()) return;
  const FontMetrics& m = paint.font->Metrics();
  if (paint.glyphs) {
    for (const PlacedGlyph& pg : glyphs)
      PaintGlyph(paint, paint.font->Glyph(pg.cp), originX + pg.x, baseline);
  }

  const int ulTop = baseline + m.underlineOffset;
  for (const PlacedGlyph& pg : glyphs) {
    if (!pg.underline) continue;
    PaintFill(paint, RECT{originX + pg.x, ulTop, originX + pg.x + pg.advance, ulTop + m.underlineThickness},
              paint.color);
  }
  const int left = originX + glyphs.front().x;
  const int right = originX + glyphs.back().x + glyphs.back().advance;
  if (m.underline) PaintFill(paint, RECT{left, ulTop, right, ulTop + m.underlineThickness}, paint.color);
  if (m.strikeout) {
    const int top = baseline - m.strikeoutOffset;
    PaintFill(paint, RECT{left, top, right, top + m.underlineThickness}, paint.color);
  }
}

}  // namespace platform::gdi
