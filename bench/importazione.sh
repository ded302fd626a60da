#!/usr/bin/env bash
# Import of 1,000,000-line files of each layout, and the Risconet conversion,
# against `cp` of the same file: the ANCI-CNC 2000 and the two 1997 imports and
# the conversion must stay within 2x cp, F24 within 3x; memory must not grow with
# the file (peak RSS at 100,000 and 1,000,000 lines).
set -euo pipefail
build="${PLIVENTA_BUILD:?PLIVENTA_BUILD must point at a release build folder}"
gen="$build/tools/pliventa-genera"
cli="$build/src/cli/pliventa-cli"
for p in "$gen" "$cli"; do
  [ -x "$p" ] || { echo "manca $p: compilare prima la build di release" >&2; exit 1; }
done
[ -x /usr/bin/time ] || { echo "manca /usr/bin/time (pacchetto time)" >&2; exit 1; }

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# Milliseconds of the best of five runs of a command. Each run starts with the
# target gone and dirty pages written back, so the runs of cp and of the import
# meet the same disk state.
migliore() {
  local target="$1"; shift
  local best="" start end ms
  for _ in 1 2 3 4 5; do
    rm -f "$target"
    sync
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    ms=$(( (end - start) / 1000000 ))
    if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
  done
  echo "$best"
}

# One import of layout $1 from $2 into $3 (the conversion for "risconet"),
# behind the command $4 (empty, or /usr/bin/time with its options).
importa() {
  local t="$1" in="$2" out="$3"; shift 3
  if [ "$t" = risconet ]; then
    "$@" "$cli" risconet "$in" --belfiore Z999 -o "$out"
  else
    "$@" "$cli" import "$t" "$in" -o "$out"
  fi
}

# Peak resident memory (KiB) of one import.
picco() {
  importa "$1" "$2" "$tmp/out" /usr/bin/time -f %M -o "$tmp/rss" >/dev/null 2>&1
  cat "$tmp/rss"
}

printf '%-9s %9s %8s %8s %8s %8s %7s %11s %11s\n' \
  tracciato righe MB "cp ms" "imp ms" rapporto limite "RSS 100k" "RSS 1M"
esito=0
for t in cnc2000 cnc1997 viol1997 f24 risconet; do
  limite=2
  [ "$t" = f24 ] && limite=3
  "$gen" "$t" --righe 100000 --seme 7 > "$tmp/piccolo.txt"
  "$gen" "$t" --righe 1000000 --seme 7 > "$tmp/in.txt"
  mb=$(( $(stat -c %s "$tmp/in.txt") / 1000000 ))
  cp_ms=$(migliore "$tmp/copia" cp "$tmp/in.txt" "$tmp/copia")
  imp_ms=$(migliore "$tmp/out" importa "$t" "$tmp/in.txt" "$tmp/out")
  rss_p=$(picco "$t" "$tmp/piccolo.txt")
  rss_g=$(picco "$t" "$tmp/in.txt")
  rapporto=$(awk -v a="$imp_ms" -v b="$cp_ms" 'BEGIN { printf "%.2f", a / (b > 0 ? b : 1) }')
  ok=$(awk -v r="$rapporto" -v l="$limite" -v p="$rss_p" -v g="$rss_g" \
    'BEGIN { print (r <= l && g <= p * 1.1 + 1024) ? "sì" : "NO" }')
  [ "$ok" = sì ] || esito=1
  printf '%-9s %9s %8s %8s %8s %8s %7s %8s KiB %8s KiB  %s\n' \
    "$t" 1000000 "$mb" "$cp_ms" "$imp_ms" "${rapporto}x" "${limite}x" "$rss_p" "$rss_g" "$ok"
  rm -f "$tmp/in.txt" "$tmp/piccolo.txt" "$tmp/copia" "$tmp/out"
done
[ "$esito" = 0 ] || echo "attenzione: almeno un import fuori dai limiti (tempo o memoria)"
