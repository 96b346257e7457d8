#include "patterns/auto_tick.h"

#include "patterns/curve_pattern.h"
#include "patterns/effect_picture.h"
#include "patterns/numeric.h"

namespace patterns {
Colour RandomColour(RandomSource& rnd, double scale) {
  // One statement per draw: red, green, blue must not depend on the
  // compiler's order of evaluating call arguments.
  const std::int16_t red = CInt(rnd.Rnd() * scale);
  const std::int16_t green = CInt(rnd.Rnd() * scale);
  const std::int16_t blue = CInt(rnd.Rnd() * scale);
  return RGB(red, green, blue);
}

TickColours DrawTickColours(RandomSource& rnd) {
  const Colour background = RandomColour(rnd, 255.0);
  const Colour line = RandomColour(rnd, 235.0);
  return {background, line};
}

void SetRandomColours(PatternContext& ctx) {
  const TickColours c = DrawTickColours(ctx.rnd);
  ctx.picpaint.SetBackColor(c.background);
  ctx.icolor = c.line;
}

PatternCode NextTickPattern(RandomSource& rnd, int drawing, double K) {
  const TickColours c = DrawTickColours(rnd);
  return PatternCode{.drawing = drawing,
                     .amplitude = K,
                     .randoms = DrawPatternRandoms(rnd),
                     .line = c.line,
                     .background = c.background};
}

void AutoTick1(PatternContext& ctx) {
  SetRandomColours(ctx);
  DrawCurvePattern1(ctx);
  DrawEffectPicture(ctx);
}

void AutoTick2(PatternContext& ctx) {
  SetRandomColours(ctx);
  DrawCurvePattern2(ctx);
  DrawEffectPicture(ctx);
}

}  // namespace patterns
