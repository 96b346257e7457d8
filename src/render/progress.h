// The progress bar of a batch on standard error while it is a terminal:
// count, rate and time left, redrawn in place.
#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>

namespace render {

// "  37/64 [###########.........]  12.3/s  0:02 left", fitted to `width`.
std::string ProgressLine(std::uint64_t done, std::uint64_t total, double seconds, int width = 72);

// "0:02", "12:05", "3:04:05".
std::string Clock(double seconds);

class ProgressBar {
 public:
  ProgressBar(std::ostream& err, bool shown, std::uint64_t total);
  void Update(std::uint64_t done);
  // Leaves the last state on its line and moves to the next one.
  void End();
  double Seconds() const;

 private:
  std::ostream& err_;
  bool shown_;
  std::uint64_t total_;
  std::chrono::steady_clock::time_point start_;
  bool drawn_ = false;
};

}  // namespace render
