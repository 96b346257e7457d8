#include "platform/user/clock.h"

#include <chrono>

#include "platform/win32.h"

namespace platform::user {
namespace {

struct ClockState {
  bool virtualTime = false;
  std::uint64_t virtualNow = 0;
  std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
};

ClockState& state() {
  static ClockState s;
  return s;
}

}  // namespace

std::uint64_t NowMs() {
  auto& s = state();
  if (s.virtualTime) return s.virtualNow;
  auto d = std::chrono::steady_clock::now() - s.start;
  // Start at a non-zero tick so that "time 0" never looks like "no time".
  return 1000 + static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(d).count());
}

void UseVirtualClock(std::uint64_t startMs) {
  state().virtualTime = true;
  state().virtualNow = startMs;
}

void UseRealClock() { state().virtualTime = false; }

bool IsVirtualClock() { return state().virtualTime; }

void AdvanceVirtualClock(std::uint64_t ms) {
  if (state().virtualTime) state().virtualNow += ms;
}

}  // namespace platform::user

DWORD GetTickCount() { return static_cast<DWORD>(platform::user::NowMs()); }
