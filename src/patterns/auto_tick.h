// One tick of the two automatic modes: a random canvas background, a random
// line colour, a new pattern and a new effect picture. The window's timers
// call these; the logic needs nothing but the context.
#pragma once

#include "patterns/pattern_code.h"
#include "patterns/pattern_context.h"

namespace patterns {

// Three draws for red, green and blue, in that order, each product with
// scale formed in double and rounded half to even to 16 bits. The background
// command of the main window uses it with 235, like the line colour below.
Colour RandomColour(RandomSource& rnd, double scale);

struct TickColours {
  Colour background;
  Colour line;
};
// Background from three draws scaled by 255, line colour from three more
// scaled by 235 (so lines are never pure white), each rounded half to even.
TickColours DrawTickColours(RandomSource& rnd);
// Makes them picpaint's background colour and icolor.
void SetRandomColours(PatternContext& ctx);

// What one tick takes from the stream: six values for its colours, four for
// its pattern.
inline constexpr int kDrawsPerTick = 10;

// The code of the pattern that the next tick of the automatic mode for
// `drawing` (1 or 2) makes from `rnd` while the amplitude is K, taking from
// the stream exactly what that tick takes, in the tick's order. Pattern i of
// a run is what the i-th tick draws, without drawing anything.
PatternCode NextTickPattern(RandomSource& rnd, int drawing, double K);

// If the pattern raises, the error leaves the tick at once: the colours have
// already changed and no effect picture is made.
void AutoTick1(PatternContext& ctx);  // pattern "画图1"
void AutoTick2(PatternContext& ctx);  // pattern "画图2"

}  // namespace patterns
