#!/usr/bin/env bash
# Every C++ file of the project is as clang-format (the .clang-format at the root) writes it.
# Lists the files that differ and fails; `clang-format -i <file>` mends one.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
if ! command -v clang-format >/dev/null; then
  echo "clang-format is missing: scripts/install-deps.sh installs it" >&2
  exit 1
fi
mapfile -t files < <(find src tests bench fuzz \( -name '*.h' -o -name '*.cpp' \) -type f | sort)
# One run over every file; each place that differs is reported as "<file>:<line>:<col>: error".
mapfile -t differ < <(clang-format --dry-run -Werror "${files[@]}" 2>&1 |
  sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/\1/p' | sort -u)
if [ ${#differ[@]} -gt 0 ]; then
  echo "${#differ[@]} of ${#files[@]} files differ from clang-format's layout:" >&2
  printf '  %s\n' "${differ[@]}" >&2
  exit 1
fi
echo "${#files[@]} files formatted"
