#include "runtime/timer.h"

namespace runtime {

Timer::Timer(HWND owner, UINT_PTR id, std::string_view name, int interval_ms, bool enabled)
    : owner_(owner),
      id_(id),
      name_(name),
      interval_ms_(interval_ms < 0 ? 0 : interval_ms),
      enabled_(enabled) {
  Sync(false);
}

Timer::~Timer() {
  if (running_ && IsWindow(owner_)) KillTimer(owner_, id_);
}

void Timer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Sync(false);
}

void Timer::SetInterval(int interval_ms) {
  interval_ms_ = interval_ms < 0 ? 0 : interval_ms;
  Sync(true);
}

void Timer::Sync(bool restart) {
  if (enabled_ && interval_ms_ > 0) {
    // A timer the platform refused earlier is asked for again.
    if (running_ && !restart) return;
    running_ = SetTimer(owner_, id_, static_cast<UINT>(interval_ms_), nullptr) != 0;
  } else if (running_) {
    KillTimer(owner_, id_);
    running_ = false;
  }
}

}  // namespace runtime
