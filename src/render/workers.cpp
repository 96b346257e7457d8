#include "render/workers.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace render {

void RunInParallel(std::uint64_t n, unsigned jobs, const std::function<void(std::uint64_t)>& work,
                   const std::function<void(std::uint64_t)>& progress, int tick_ms) {
  std::atomic<std::uint64_t> next{0};
  std::atomic<std::uint64_t> done{0};
  std::atomic<bool> stop{false};
  std::mutex mutex;
  std::condition_variable finished;
  unsigned running = 0;
  std::exception_ptr error;
  std::uint64_t error_index = UINT64_MAX;

  const auto worker = [&] {
    for (;;) {
      if (stop.load()) break;
      const std::uint64_t i = next.fetch_add(1);
      if (i >= n) break;
      try {
        work(i);
        done.fetch_add(1);
      } catch (...) {
        std::lock_guard<std::mutex> lock(mutex);
        if (i < error_index) {
          error_index = i;
          error = std::current_exception();
        }
        stop.store(true);
      }
    }
    std::lock_guard<std::mutex> lock(mutex);
    --running;
    finished.notify_all();
  };

  const unsigned threads =
      static_cast<unsigned>(std::max<std::uint64_t>(1, std::min<std::uint64_t>(jobs, n)));
  std::vector<std::thread> pool;
  pool.reserve(threads);
  {
    std::lock_guard<std::mutex> lock(mutex);
    running = threads;
  }
  try {
    for (unsigned t = 0; t < threads; ++t) pool.emplace_back(worker);
  } catch (...) {
    // Threads that could not start still count as ended.
    stop.store(true);
    std::lock_guard<std::mutex> lock(mutex);
    running -= threads - static_cast<unsigned>(pool.size());
    if (pool.empty()) throw;
  }
  {
    std::unique_lock<std::mutex> lock(mutex);
    while (running > 0) {
      finished.wait_for(lock, std::chrono::milliseconds(tick_ms));
      if (running == 0) break;
      lock.unlock();
      if (progress) progress(done.load());
      lock.lock();
    }
  }
  for (std::thread& t : pool) t.join();
  if (progress) progress(done.load());
  if (error) std::rethrow_exception(error);
}

}  // namespace render
