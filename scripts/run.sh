#!/usr/bin/env bash
# Installs the dependencies, builds, and starts huiwenfang.
# The program is built in a folder of its own (build-run/, or $HWF_RUN_BUILD_DIR) with every
# option given, so that running this before or after scripts/test.sh changes nothing for either.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${HWF_RUN_BUILD_DIR:-$root/build-run}
bash "$root/scripts/install-deps.sh"
HWF_BUILD_DIR=$build bash "$root/scripts/build.sh" -DHWF_BUILD_TESTS=OFF -DHWF_BUILD_BENCH=OFF \
  -DHWF_SANITIZE=OFF -DHWF_BUILD_FUZZ=OFF
exec "$build/src/huiwenfang"
