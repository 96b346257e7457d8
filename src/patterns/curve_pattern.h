// The two curve patterns: rotated copies of one randomly shaped wave curve
// drawn on the canvas, then copied into the tile buffer.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "patterns/pattern_code.h"
#include "patterns/pattern_context.h"

namespace patterns {

enum class RotationKind {
  kCosineSine,  // c = cos a, d = sin a: a true rotation ("画图1")
  kSineSine,    // c = d = sin a: scaled and slanted by an eighth turn ("画图2")
};

// The canvas the curves are made for: 201 x 201 pixels around (100, 100).
inline constexpr int kCanvasPixels = 201;

// The rotation kind and point step of drawing 1 ("画图1") or 2 ("画图2");
// any other number raises 5.
struct DrawingParameters {
  RotationKind kind;
  std::int16_t step;
};
DrawingParameters ParametersOf(int drawing);
// 1 or 2 for the parameters of those drawings, nothing for any other pair.
std::optional<int> DrawingOf(RotationKind kind, std::int16_t step);

// The four values a pattern takes from the stream, R1 to R4, in that order.
std::array<float, 4> DrawPatternRandoms(RandomSource& rnd);

// Every copy of the curve for amplitude K and the values R1 to R4, in `line`
// with a black dot at each curve's start; nothing else (no Cls, no random
// draws). Raises 6 when a coordinate leaves the single range, after drawing
// what came before it.
void DrawCurves(DrawingSurface& canvas, RotationKind kind, std::int16_t step, double K,
                const std::array<float, 4>& R, Colour line);

// Clears picpaint, reads the amplitude text, draws four random values, then
// draws every copy of the curve and finally sets Picture2's picture to the
// canvas image. Raises RuntimeError 13 for an amplitude that is not a number
// and 6 for one that drives a coordinate out of the single range; the canvas
// then keeps what was drawn so far and Picture2 is untouched. A pattern of
// one of the two drawings that is drawn to the end becomes ctx.lastPattern
// and is told to ctx.onPatternDrawn.
void DrawCurvePattern(PatternContext& ctx, RotationKind kind, std::int16_t step);

// The pattern of a code on a canvas: its background, then its curves. Takes
// nothing from any random stream; raises as DrawCurves does.
void DrawPattern(DrawingSurface& canvas, const PatternCode& code);

// Raises what DrawPattern would raise for the code (5 for a drawing other
// than 1 or 2, 6 for an amplitude that drives a coordinate out of the single
// range) without drawing anything, so a code can be refused before any
// surface changes.
void CheckDrawable(const PatternCode& code);

// "画图1": rotation, point step 3 (61 points per curve).
void DrawCurvePattern1(PatternContext& ctx);
// "画图2": sine in both coefficients, point step 2 (91 points per curve).
void DrawCurvePattern2(PatternContext& ctx);

}  // namespace patterns
