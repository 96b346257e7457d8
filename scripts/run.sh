#!/usr/bin/env bash
# Installs the dependencies, builds, and starts huiwenfang.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
HWF_BUILD_BENCH=OFF bash "$root/scripts/build.sh" -DHWF_BUILD_TESTS=OFF -DHWF_BUILD_BENCH=OFF
exec "${HWF_BUILD_DIR:-$root/build}/src/huiwenfang"
