#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each one for
# a bounded time on a copy of its seed corpus. Installs nothing: clang and
# the compiler-rt libraries must be there already (scripts/install-deps.sh).
#   scripts/fuzz.sh [seconds-per-target]     (default 60)
# The random seed is fixed (HWF_FUZZ_SEED, default 1) so that a run can be
# repeated; set another one to explore further.
# Exits non-zero when a target finds a crash, a sanitizer report, a leak, a
# timeout or runs out of memory; the reproducer is kept under
# build-fuzz/findings/<target>/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build=${HWF_FUZZ_BUILD_DIR:-$root/build-fuzz}
targets=(amplitude_fuzz save_path_fuzz events_fuzz)

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DHWF_BUILD_FUZZ=ON -DHWF_BUILD_TESTS=OFF \
  -DHWF_BUILD_BENCH=OFF -DHWF_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target "${targets[@]}" -j "$(nproc)"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/fuzz/lsan.supp}
failed=()
for t in "${targets[@]}"; do
  work="$build/corpus-run/$t"
  findings="$build/findings/$t"
  rm -rf "$work"
  mkdir -p "$work" "$findings"
  cp -r "$root/fuzz/corpus/$t/." "$work/"
  dict=()
  [ -f "$root/fuzz/$t.dict" ] && dict=("-dict=$root/fuzz/$t.dict")
  # fuzz/<target>.options: extra libFuzzer flags of one target, on one line.
  extra=()
  [ -f "$root/fuzz/$t.options" ] && read -r -a extra <"$root/fuzz/$t.options"
  # The event fuzzer builds a whole skinned window for every input and so runs a few inputs a
  # second where the others run thousands: it gets twice the time.
  t_seconds=$seconds
  [ "$t" = events_fuzz ] && t_seconds=$((seconds * 2))
  echo "== $t: ${t_seconds}s"
  if ! "$build/fuzz/$t" "$work" "${dict[@]}" "${extra[@]}" -max_total_time="$t_seconds" -timeout=10 \
      -seed="${HWF_FUZZ_SEED:-1}" -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" \
      >"$build/fuzz-$t.log" 2>&1; then
    failed+=("$t")
    tail -n 60 "$build/fuzz-$t.log"
  else
    grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb)' "$build/fuzz-$t.log" || true
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: findings in ${failed[*]} (reproducers in $build/findings/)" >&2
  exit 1
fi
echo "fuzz: no findings"
