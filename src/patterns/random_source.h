// The one stream of random numbers that every generator and colour command
// draws from, in call order. It is never seeded from the outside world, so each
// run of the program sees the same sequence from its first draw on.
#pragma once

#include <cstdint>

namespace patterns {

class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // A uniformly distributed single in [0, 1).
  virtual float Rnd() = 0;
};

// PCG32 (XSH RR output on a 64-bit LCG), started from the reference
// implementation's demo state (seed 42, stream 54) so its outputs can be
// checked against published values. 24 bits of each output make the single
// exactly: (bits >> 8) * 2^-24, which can never round up to 1.
class Pcg32Random final : public RandomSource {
 public:
  // The state every run of the program starts from.
  static constexpr std::uint64_t kStartSeed = 42;
  static constexpr std::uint64_t kStream = 54;

  Pcg32Random();
  Pcg32Random(std::uint64_t seed, std::uint64_t stream);

  float Rnd() override;
  std::uint32_t NextBits();
  // Moves on as `count` draws would, in a few dozen steps whatever the count,
  // so a batch can start a million patterns into the stream at once.
  void Advance(std::uint64_t count);

 private:
  std::uint64_t state_ = 0;
  std::uint64_t inc_ = 0;
};

}  // namespace patterns
