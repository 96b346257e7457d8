#!/usr/bin/env bash
# Configures and builds into build/ (or $HWF_BUILD_DIR). Extra arguments go
# to cmake's configure step.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${HWF_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHWF_WERROR=ON "$@"
cmake --build "$build" -j "$(nproc)"
