// Everything the generators read and write outside themselves: the four
// surfaces, the window-level line colour, the amplitude text of the combo box,
// the shared random stream and the local clock. The main window owns one of
// these and passes it to every handler; the generators own no window.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "patterns/drawing_surface.h"
#include "patterns/numeric.h"
#include "patterns/pattern_code.h"
#include "patterns/random_source.h"

namespace patterns {

struct LocalDateTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

using LocalClock = std::function<LocalDateTime()>;

// The machine's local time now.
LocalDateTime SystemLocalNow();

struct PatternContext {
  DrawingSurface& picpaint;  // the 201 x 201 pattern canvas, pixel scale
  DrawingSurface& Picture1;  // the effect picture, twips
  DrawingSurface& Picture2;  // tile buffer, twips
  DrawingSurface& Picture3;  // copy of the tile, twips
  // Combo1's current edit text. A callable, because it must be read at the
  // moment the pattern reaches that step, not when the context was built.
  std::function<std::string()> amplitudeText;
  RandomSource& rnd;
  LocalClock clock = SystemLocalNow;
  // Line colour of the curve patterns; 0 until the user or a tick picks one.
  Colour icolor = 0;
  // The code of the last pattern drawn to the end: the one Picture2 holds.
  // Nothing before the first pattern.
  std::optional<PatternCode> lastPattern{};
  // Told of every pattern drawn to the end, by a click or by a tick, with its
  // code (a history of patterns listens here).
  std::function<void(const PatternCode&)> onPatternDrawn{};
  // Told of every effect picture made, by a click or by a tick, once
  // Picture1 shows the tiles of what Picture2 held.
  std::function<void()> onEffectDrawn{};
};

}  // namespace patterns
