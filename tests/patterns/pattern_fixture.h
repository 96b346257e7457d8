// The four surfaces at their window sizes (canvas in pixels, the effect boxes
// in twips, 15 to a pixel), a scripted random stream and a fixed clock.
#pragma once

#include <string>
#include <vector>

#include "patterns/pattern_context.h"
#include "support/doubles/recording_surface.h"
#include "support/doubles/scripted_random.h"

namespace patterns {

struct PatternFixture {
  explicit PatternFixture(std::vector<float> randoms, std::string amplitude = "80")
      : rnd(std::move(randoms)), amplitude(std::move(amplitude)) {}

  testing::RecordingSurface picpaint{{201, 201, 201, 201, 13}, 0x80FF80};
  testing::RecordingSurface picture1{{737 * 15, 709 * 15, 737, 709, 300}, 0xFF8080};
  testing::RecordingSurface picture2{{201 * 15, 201 * 15, 201, 201, 300}, 0xF0F0F0};
  testing::RecordingSurface picture3{{205 * 15, 201 * 15, 205, 201, 300}, 0xF0F0F0};
  testing::ScriptedRandom rnd;
  std::string amplitude;
  PatternContext ctx{.picpaint = picpaint,
                     .Picture1 = picture1,
                     .Picture2 = picture2,
                     .Picture3 = picture3,
                     .amplitudeText = [this] { return amplitude; },
                     .rnd = rnd,
                     .clock = [] { return LocalDateTime{2026, 12, 7, 14, 3, 5}; },
                     .icolor = 0x123456};
};

// The point calls (PSet and Line) of a log, in order.
inline std::vector<testing::SurfaceCall> Points(const testing::RecordingSurface& s) {
  std::vector<testing::SurfaceCall> out;
  for (const auto& c : s.Calls()) {
    if (c.op == testing::Op::kPSet || c.op == testing::Op::kLine) out.push_back(c);
  }
  return out;
}

// The largest single below 1, the top of what the random stream can return.
inline constexpr float kAlmostOne = 0.99999994f;

}  // namespace patterns
