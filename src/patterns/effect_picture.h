// "效果图": the last pattern tiled over the effect picture, a copy of the tile
// kept in Picture3, and the maker's credit line printed into the tile buffer.
#pragma once

#include "patterns/pattern_context.h"

namespace patterns {

// Tiles Picture2 edge to edge over Picture1 from the top-left corner, each
// tile from a fresh Image of Picture2 at its natural size, the last column and
// row cut off by Picture1's edges; then Picture3 := Picture2's image; then the
// credit line is printed at Picture2's current position, which only moves down.
void DrawEffectPicture(PatternContext& ctx);

// Steps 1 to 3 of it alone: Picture1 cleared and tiled with Picture2's
// image, no Picture3 copy and no credit line. Bringing an earlier effect
// picture back is this over the earlier tile.
void TileEffectPicture(PatternContext& ctx);

}  // namespace patterns
