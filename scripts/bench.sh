#!/usr/bin/env bash
# Runs every benchmark binary of the build and prints one Markdown row per benchmark with its
# median CPU and wall time over the repetitions. Usage: scripts/bench.sh [repetitions] [filter]
# The build must exist (the README's test command makes it); $HWF_BUILD_DIR picks another one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${HWF_BUILD_DIR:-$root/build}
reps=${1:-9}
filter=${2:-.}
shopt -s nullglob
binaries=("$build"/bench/*_bench)
if ((${#binaries[@]} == 0)); then
  echo "no benchmark binaries under $build/bench; build first (scripts/build.sh)" >&2
  exit 1
fi
# present_bench puts pixels on a real display: without one, a private Xvfb
# serves the run.
if [ -z "${DISPLAY:-}" ] && command -v Xvfb >/dev/null 2>&1; then
  for n in $(seq 91 190); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    xvfb=$!
    trap 'kill "$xvfb" 2>/dev/null' EXIT
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    export DISPLAY=":$n"
    break
  done
fi
echo "| binary | benchmark | median CPU | median wall |"
echo "|---|---|---|---|"
for bin in "${binaries[@]}"; do
  name=$(basename "$bin")
  # CSV rows: name,iterations,real_time,cpu_time,time_unit,...; only the median aggregates.
  "$bin" --benchmark_filter="$filter" --benchmark_repetitions="$reps" \
    --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
    awk -F, -v bin="$name" '
      $1 ~ /_median"?$/ {
        gsub(/"/, "", $1); sub(/_median$/, "", $1)
        printf "| %s | %s | %.3g %s | %.3g %s |\n", bin, $1, $4, $5, $3, $5
      }'
done
