// A random source that hands out chosen values, for tests that need to steer
// the generators into a particular case. Running past the script is a fault in
// the test and is reported as such rather than inventing values.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <stdexcept>
#include <vector>

#include "patterns/random_source.h"

namespace patterns::testing {

class ScriptedRandom final : public RandomSource {
 public:
  ScriptedRandom(std::initializer_list<float> values) : values_(values) {}
  explicit ScriptedRandom(std::vector<float> values) : values_(std::move(values)) {}

  float Rnd() override {
    if (next_ >= values_.size()) throw std::logic_error("ScriptedRandom: script exhausted");
    return values_[next_++];
  }

  std::size_t Used() const { return next_; }
  std::size_t Remaining() const { return values_.size() - next_; }

 private:
  std::vector<float> values_;
  std::size_t next_ = 0;
};

}  // namespace patterns::testing
