#!/usr/bin/env bash
# clang-tidy with the repo's .clang-tidy over every source of src/ and tools/ in the
# build folder given (its compile_commands.json); prints the findings only and
# fails when there is one.
set -euo pipefail
build="$1"
root="$(cd "$(dirname "$0")/.." && pwd)"
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
if run-clang-tidy -quiet -p "$build" -j "$(nproc)" "$root/(src|tools)/" >"$log" 2>&1; then
  exit 0
fi
grep -E -A3 '(warning|error):' "$log" || tail -20 "$log"
echo "clang-tidy: risultati da correggere (sopra)" >&2
exit 1
