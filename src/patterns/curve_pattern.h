// The two curve patterns: rotated copies of one randomly shaped wave curve
// drawn on the canvas, then copied into the tile buffer.
#pragma once

#include <cstdint>

#include "patterns/pattern_context.h"

namespace patterns {

enum class RotationKind {
  kCosineSine,  // c = cos a, d = sin a: a true rotation ("画图1")
  kSineSine,    // c = d = sin a: scaled and slanted by an eighth turn ("画图2")
};

// Clears picpaint, reads the amplitude text, draws four random values, then
// draws every copy of the curve and finally sets Picture2's picture to the
// canvas image. Raises RuntimeError 13 for an amplitude that is not a number
// and 6 for one that drives a coordinate out of the single range; the canvas
// then keeps what was drawn so far and Picture2 is untouched.
void DrawCurvePattern(PatternContext& ctx, RotationKind kind, std::int16_t step);

// "画图1": rotation, point step 3 (61 points per curve).
void cmdpaint_Click(PatternContext& ctx);
// "画图2": sine in both coefficients, point step 2 (91 points per curve).
void Command1_Click(PatternContext& ctx);

}  // namespace patterns
