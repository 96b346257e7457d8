// Parallel workers over numbered pieces of work, with the first failure (in
// the order of the pieces, not of the clock) handed back to the caller.
#pragma once

#include <cstdint>
#include <functional>

namespace render {

// Runs work(0) .. work(n - 1) on `jobs` threads (at most n), each piece once.
// `progress` is called on the calling thread with the number of pieces done,
// every `tick_ms` and once at the end. After a failure no new piece starts;
// the exception of the lowest failed piece is rethrown once all threads are
// back.
void RunInParallel(std::uint64_t n, unsigned jobs, const std::function<void(std::uint64_t)>& work,
                   const std::function<void(std::uint64_t)>& progress, int tick_ms = 100);

}  // namespace render
