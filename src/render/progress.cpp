#include "render/progress.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace render {

std::string Clock(double seconds) {
  const auto s = static_cast<long long>(std::max(0.0, std::round(seconds)));
  char buf[32];
  if (s >= 3600) {
    std::snprintf(buf, sizeof buf, "%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
  } else {
    std::snprintf(buf, sizeof buf, "%lld:%02lld", s / 60, s % 60);
  }
  return buf;
}

std::string ProgressLine(std::uint64_t done, std::uint64_t total, double seconds, int width) {
  char count[48];
  std::snprintf(count, sizeof count, "%llu/%llu", static_cast<unsigned long long>(done),
                static_cast<unsigned long long>(total));
  std::string tail;
  if (done > 0 && seconds > 0) {
    const double rate = done / seconds;
    char buf[64];
    std::snprintf(buf, sizeof buf, "  %.1f/s  %s left", rate, Clock((total - done) / rate).c_str());
    tail = buf;
  }
  const int bar = std::max(10, width - static_cast<int>(std::string(count).size() + tail.size()) - 5);
  const int filled = total == 0 ? bar : static_cast<int>(static_cast<double>(done) / total * bar);
  return "  " + std::string(count) + " [" + std::string(filled, '#') + std::string(bar - filled, '.') + "]" +
         tail;
}

ProgressBar::ProgressBar(std::ostream& err, bool shown, std::uint64_t total)
    : err_(err), shown_(shown), total_(total), start_(std::chrono::steady_clock::now()) {}

double ProgressBar::Seconds() const {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
}

void ProgressBar::Update(std::uint64_t done) {
  if (!shown_) return;
  // Clear to the end of the line: a shorter line must not leave the tail of
  // a longer one behind.
  err_ << '\r' << ProgressLine(done, total_, Seconds()) << "\x1b[K" << std::flush;
  drawn_ = true;
}

void ProgressBar::End() {
  if (drawn_) err_ << '\n' << std::flush;
  drawn_ = false;
}

}  // namespace render
