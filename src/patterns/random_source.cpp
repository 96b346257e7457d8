#include "patterns/random_source.h"

namespace patterns {
namespace {
constexpr std::uint64_t kMultiplier = 6364136223846793005ULL;
}

Pcg32Random::Pcg32Random() : Pcg32Random(42, 54) {}

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

float Pcg32Random::Rnd() { return static_cast<float>(NextBits() >> 8) * 0x1p-24f; }

}  // namespace patterns
