#include "patterns/random_source.h"

namespace patterns {
namespace {
constexpr std::uint64_t kMultiplier = 6364136223846793005ULL;
}

Pcg32Random::Pcg32Random() : Pcg32Random(kStartSeed, kStream) {}

Pcg32Random::Pcg32Random(std::uint64_t seed, std::uint64_t stream) : inc_((stream << 1) | 1) {
  NextBits();
  state_ += seed;
  NextBits();
}

std::uint32_t Pcg32Random::NextBits() {
  const std::uint64_t old = state_;
  state_ = old * kMultiplier + inc_;
  const auto xorshifted = static_cast<std::uint32_t>(((old >> 18) ^ old) >> 27);
  const auto rot = static_cast<std::uint32_t>(old >> 59);
  return (xorshifted >> rot) | (xorshifted << ((32 - rot) & 31));
}

// The LCG step x -> m x + c applied `count` times is again x -> M x + C;
// square the step while halving the count (Brown, "Random number generation
// with arbitrary strides").
void Pcg32Random::Advance(std::uint64_t count) {
  std::uint64_t mult = kMultiplier, plus = inc_;
  std::uint64_t accMult = 1, accPlus = 0;
  for (; count > 0; count >>= 1) {
    if (count & 1) {
      accMult *= mult;
      accPlus = accPlus * mult + plus;
    }
    plus = (mult + 1) * plus;
    mult *= mult;
  }
  state_ = accMult * state_ + accPlus;
}

float Pcg32Random::Rnd() { return static_cast<float>(NextBits() >> 8) * 0x1p-24f; }

}  // namespace patterns
