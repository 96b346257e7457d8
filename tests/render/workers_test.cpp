// Parallel workers: each piece once, the first failure in piece order, no new
// piece after a failure; and the progress line's arithmetic.
#include "render/workers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

#include "render/progress.h"

namespace render {
namespace {

TEST(RunInParallel, RunsEveryPieceExactlyOnceAndReportsProgress) {
  for (unsigned jobs : {1u, 2u, 8u}) {
    std::vector<std::atomic<int>> runs(1000);
    std::vector<std::uint64_t> reported;
    RunInParallel(
        runs.size(), jobs, [&](std::uint64_t i) { runs[i].fetch_add(1); },
        [&](std::uint64_t done) { reported.push_back(done); }, 1);
    for (const auto& r : runs) ASSERT_EQ(r.load(), 1);
    ASSERT_FALSE(reported.empty());
    EXPECT_EQ(reported.back(), 1000u);
    EXPECT_TRUE(std::is_sorted(reported.begin(), reported.end()));
  }
}

TEST(RunInParallel, TheFirstFailureInPieceOrderIsTheOneRethrown) {
  for (int round = 0; round < 20; ++round) {
    try {
      RunInParallel(
          200, 4,
          [](std::uint64_t i) {
            if (i == 10 || i == 11 || i == 40) throw std::runtime_error(std::to_string(i));
          },
          nullptr);
      FAIL() << "no failure came back";
    } catch (const std::runtime_error& e) {
      ASSERT_STREQ(e.what(), "10");
    }
  }
}

TEST(RunInParallel, NoPieceStartsAfterAFailure) {
  std::atomic<int> started{0};
  EXPECT_THROW(RunInParallel(
                   100, 1,
                   [&](std::uint64_t i) {
                     started.fetch_add(1);
                     if (i == 5) throw std::runtime_error("5");
                   },
                   nullptr),
               std::runtime_error);
  EXPECT_EQ(started.load(), 6);
}

TEST(Progress, TheLineShowsCountBarRateAndTimeLeft) {
  // The line fills the width it is given.
  EXPECT_EQ(ProgressLine(0, 64, 0.0, 40), "  0/64 [" + std::string(31, '.') + "]");
  EXPECT_EQ(ProgressLine(32, 64, 4.0, 60),
            "  32/64 [" + std::string(16, '#') + std::string(16, '.') + "]  8.0/s  0:04 left");
  const std::string full = ProgressLine(64, 64, 8.0, 60);
  EXPECT_EQ(full.size(), 60u);
  EXPECT_EQ(full.find('.', 9), full.find("8.0/s") + 1) << "a full bar has no empty place: " << full;
  EXPECT_EQ(Clock(0.4), "0:00");
  EXPECT_EQ(Clock(125), "2:05");
  EXPECT_EQ(Clock(3 * 3600 + 4 * 60 + 5), "3:04:05");
}

}  // namespace
}  // namespace render
