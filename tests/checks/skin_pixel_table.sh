#!/usr/bin/env bash
# The committed skin pixel table is what tools/gen_skin_pixel_table.py makes: a hand edit of the
# table, or a change to the tool that was never run, shows up here as a difference.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
python3 "$root/tools/gen_skin_pixel_table.py" --out "$out" >/dev/null
status=0
for f in src/skin/skin_pixel_table.h src/skin/skin_pixel_table.cpp; do
  if ! cmp -s "$out/$f" "$root/$f"; then
    echo "$f differs from what tools/gen_skin_pixel_table.py writes:" >&2
    diff -u "$root/$f" "$out/$f" | head -20 >&2 || true
    status=1
  fi
done
exit $status
