// The clock behind timers, GetTickCount and message times. Real monotonic
// time by default; tests switch to virtual time and move it by hand.
#pragma once

#include <cstdint>

namespace platform::user {

std::uint64_t NowMs();
void UseVirtualClock(std::uint64_t startMs);
void UseRealClock();
bool IsVirtualClock();
void AdvanceVirtualClock(std::uint64_t ms);

}  // namespace platform::user
