#!/usr/bin/env bash
# The README's test command: installs the dependencies, then runs every stage of the test suite.
#   normal    build in build/ (tests and benchmarks) and run all tests, end-to-end ones included,
#             with the checks of the tree (clang-format layout, the generated skin pixel table)
#   sanitize  build in build-asan/ with AddressSanitizer and UndefinedBehaviorSanitizer and run
#             the unit tests there
#   fuzz      build the libFuzzer targets with clang and run each for a bounded time
# With --only <stage> (or --sanitize, the same as --only sanitize) just that stage runs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
stages=(normal sanitize fuzz)
case "${1:-}" in
  --only) stages=("${2:?--only needs a stage: normal, sanitize or fuzz}") ;;
  --sanitize) stages=(sanitize) ;;
  "") ;;
  *) echo "usage: $0 [--only normal|sanitize|fuzz]" >&2; exit 2 ;;
esac

bash "$root/scripts/install-deps.sh"

for stage in "${stages[@]}"; do
  echo "==== test stage: $stage"
  case "$stage" in
    normal)
      # Every option is given: a folder configured otherwise before (by hand, or by an older run
      # command) must not leave the tests out. A run that finds no test fails.
      HWF_BUILD_DIR=${HWF_BUILD_DIR:-$root/build} bash "$root/scripts/build.sh" -DHWF_BUILD_TESTS=ON \
        -DHWF_BUILD_BENCH=ON -DHWF_SANITIZE=OFF -DHWF_BUILD_FUZZ=OFF
      ctest --test-dir "${HWF_BUILD_DIR:-$root/build}" --output-on-failure --no-tests=error -j "$(nproc)"
      ;;
    sanitize)
      asan=${HWF_ASAN_BUILD_DIR:-$root/build-asan}
      HWF_BUILD_DIR=$asan bash "$root/scripts/build.sh" -DHWF_SANITIZE=ON -DHWF_BUILD_TESTS=ON \
        -DHWF_BUILD_BENCH=OFF -DHWF_BUILD_FUZZ=OFF -DCMAKE_BUILD_TYPE=Debug
      # The end-to-end scripts start the normal build's program; here only the unit tests run.
      ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --test-dir "$asan" --output-on-failure --no-tests=error -j "$(nproc)" -E '^e2e_'
      ;;
    fuzz)
      # 45 s for each target, 90 s for the slow event fuzzer.
      bash "$root/scripts/fuzz.sh" "${HWF_FUZZ_SECONDS:-45}"
      ;;
    *) echo "unknown stage: $stage" >&2; exit 2 ;;
  esac
done
