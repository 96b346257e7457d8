#!/usr/bin/env bash
# Installs the dependencies, builds everything (tests and benchmarks
# included) and runs the whole test suite.
#   --sanitize   build in build-asan/ with AddressSanitizer and
#                UndefinedBehaviorSanitizer and run the unit tests there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sanitize=0
[ "${1:-}" = "--sanitize" ] && sanitize=1

bash "$root/scripts/install-deps.sh"

if [ "$sanitize" = 1 ]; then
  export HWF_BUILD_DIR=${HWF_BUILD_DIR:-$root/build-asan}
  bash "$root/scripts/build.sh" -DHWF_SANITIZE=ON -DHWF_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  ctest --test-dir "$HWF_BUILD_DIR" --output-on-failure -j "$(nproc)" -E '^e2e_'
else
  export HWF_BUILD_DIR=${HWF_BUILD_DIR:-$root/build}
  bash "$root/scripts/build.sh"
  ctest --test-dir "$HWF_BUILD_DIR" --output-on-failure -j "$(nproc)"
fi
