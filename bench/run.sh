#!/usr/bin/env bash
# Runs every benchmark script of this folder against the release build.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
export PLIVENTA_BUILD="${PLIVENTA_BUILD:-$here/../build/release}"
for b in "$here"/*.sh; do
  [ "$(basename "$b")" = run.sh ] && continue
  echo "== $(basename "$b")"
  bash "$b"
done
