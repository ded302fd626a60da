#!/usr/bin/env bash
# Lays out the working folder of `make run`: the sample payment files and the memo
# files that propose them, so the first prompt of each import offers a sample.
set -euo pipefail
dir="$1"
root="$(cd "$(dirname "$0")/.." && pwd)"
mkdir -p "$dir"
cd "$dir"
shopt -s nullglob
for f in "$root"/samples/*.txt; do
  cp -f "$f" .
done
memo() {  # memo name, sample file: the memo proposes the sample by its full path
  if [ -f "$2" ]; then printf '%s\r\n' "$PWD/$2" > "$1"; fi
}
memo icimemofilepliventa.txt cnc2000.txt
memo icimemofilepliventa97.txt cnc1997.txt
memo icimemofilepliventav.txt viol1997.txt
memo icimemofilecaliciv.txt risconet.txt
